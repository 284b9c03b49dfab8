// The settings page's model: what it reads, the rule between its two check
// boxes, and what Save writes, where, in which order, and when it must not
// say "Settings Saved Successfully.".

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "PortFakes.h"
#include "SettingsChoices.h"

namespace qv {
namespace {

constexpr wchar_t kFile[] = L"C:\\Program Files\\Corvane\\QVSetting.ini";
constexpr wchar_t kProgram[] = L"C:\\Program Files\\Corvane\\QVReader.exe";

class SettingsChoicesTest : public testing::Test {
protected:
    void Store(const wchar_t* section, const wchar_t* key, const wchar_t* value) {
        store.values[{kFile, section, key}] = value;
    }
    std::wstring RunValue() const {
        const auto found = registry.strings.find({kRunKeyPath, kRunValueName});
        return found == registry.strings.end() ? L"(none)" : found->second;
    }

    test::FakeProfileStore store;
    Settings settings{store, L"C:\\Program Files\\Corvane\\"};
    test::FakeRegistry registry;
    ReaderState state;
};

TEST_F(SettingsChoicesTest, ReadsTheFileAndMissingKeysAsMinusOne) {
    Store(L"General Settings", L"Run", L"1");
    Store(L"exit settings", L"tray", L"0");  // names are the same keys whatever their case
    Store(L"General Settings", L"Timeout", L"7");
    const SettingsChoices choices = ReadSettingsChoices(settings);
    EXPECT_EQ(choices.run, 1);
    EXPECT_EQ(choices.update, -1);
    EXPECT_EQ(choices.exitChoice, -1);
    EXPECT_EQ(choices.timeoutIndex, 7);
}

TEST_F(SettingsChoicesTest, RunAndUpdateExcludeEachOther) {
    SettingsChoices choices{.run = 1, .update = 1};
    AfterRunClicked(choices);
    EXPECT_EQ(choices.update, 0);
    EXPECT_EQ(choices.run, 1);
    choices.update = 1;
    AfterUpdateClicked(choices);
    EXPECT_EQ(choices.run, 0);
    // Unchecking one leaves the other as it is.
    choices = {.run = 0, .update = 1};
    AfterRunClicked(choices);
    EXPECT_EQ(choices.update, 1);
}

TEST_F(SettingsChoicesTest, SaveWritesInOrderAndTheRunValueQuotesThePath) {
    const SettingsChoices choices{
        .run = 1, .update = 0, .exitChoice = 1, .tray = 0, .timeoutIndex = 2};
    EXPECT_EQ(SaveSettingsChoices(choices, settings, registry, kProgram, state),
              SaveOutcome::Saved);
    std::vector<std::wstring> written;
    for (const auto& w : store.writes) written.push_back(w.section + L"/" + w.key + L"=" + w.value);
    EXPECT_EQ(written, (std::vector<std::wstring>{L"General Settings/Run=1",
                                                  L"Update Settings/Automaticly update=0",
                                                  L"Exit settings/Exit=1", L"Exit settings/Tray=0",
                                                  L"General Settings/Timeout=2"}));
    EXPECT_EQ(RunValue(), L"\"C:\\Program Files\\Corvane\\QVReader.exe\" -A");
    EXPECT_EQ(state.timeoutMs, 300000);

    // Unchecked: the value goes, and saving twice keeps it gone.
    SettingsChoices off = choices;
    off.run = 0;
    for (int round = 0; round < 2; ++round) {
        EXPECT_EQ(SaveSettingsChoices(off, settings, registry, kProgram, state),
                  SaveOutcome::Saved);
        EXPECT_EQ(RunValue(), L"(none)");
    }
}

TEST_F(SettingsChoicesTest, AnUnknownTimeoutIndexLeavesTheTimeOutAsItWas) {
    for (int index : {-1, 4, 7}) {
        state.timeoutMs = 180000;
        const SettingsChoices choices{
            .run = 0, .update = 1, .exitChoice = 0, .tray = 1, .timeoutIndex = index};
        SaveSettingsChoices(choices, settings, registry, kProgram, state);
        EXPECT_EQ(state.timeoutMs, 180000) << index;
    }
}

TEST_F(SettingsChoicesTest, AFileThatCannotBeWrittenIsNotReportedAsSaved) {
    Store(L"General Settings", L"Run", L"0");
    store.readOnly = true;
    const SettingsChoices choices{
        .run = 1, .update = 0, .exitChoice = 1, .tray = 0, .timeoutIndex = 3};
    EXPECT_EQ(SaveSettingsChoices(choices, settings, registry, kProgram, state),
              SaveOutcome::NotWritten);
    EXPECT_EQ(ReadSettingsChoices(settings).run, 0);
}

}  // namespace
}  // namespace qv
