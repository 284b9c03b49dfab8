#pragma once
// Small in-memory stand-ins for the ports, for unit tests of the core.

#include <map>
#include <optional>
#include <set>
#include <string>
#include <tuple>
#include <vector>

#include "Clock.h"
#include "FileSystem.h"
#include "MessageBox.h"
#include "NotifyIcon.h"
#include "PacificZoneSource.h"
#include "ProcessEnvironment.h"
#include "ProfileStore.h"
#include "Registry.h"
#include "SingleInstance.h"

namespace qv::test {

// Keeps values as the text written and remembers the order of writes.
class FakeProfileStore final : public IProfileStore {
public:
    struct Write {
        std::wstring path, section, key, value;
        bool operator==(const Write&) const = default;
    };

    int ReadInt(const std::wstring& path, const std::wstring& section, const std::wstring& key,
                int defaultValue) const override {
        const auto found = values.find({path, section, key});
        return found == values.end() ? defaultValue : std::stoi(found->second);
    }
    bool WriteString(const std::wstring& path, const std::wstring& section, const std::wstring& key,
                     const std::wstring& value) override {
        if (readOnly) return false;
        writes.push_back({path, section, key, value});
        values[{path, section, key}] = value;
        return true;
    }

    std::map<std::tuple<std::wstring, std::wstring, std::wstring>, std::wstring> values;
    std::vector<Write> writes;
    bool readOnly = false;  // as a file in a read-only folder: writes fail, nothing changes
};

class FakeFileSystem final : public IFileSystem {
public:
    bool PathExists(const std::wstring& path) const override { return existing.count(path) != 0; }
    std::set<std::wstring> existing;
};

class FakeProcessEnvironment final : public IProcessEnvironment {
public:
    std::wstring ModuleFileName() const override { return modulePath; }
    std::wstring CommandLine() const override { return commandLine; }
    std::wstring modulePath = L"C:\\Apps\\QVReader.exe";
    std::wstring commandLine = L"C:\\Apps\\QVReader.exe";
};

class FakeNamedMutex final : public INamedMutex {
public:
    MutexResult Create(const std::wstring& name) override {
        names.push_back(name);
        return result;
    }
    MutexResult result = MutexResult::Created;
    std::vector<std::wstring> names;
};

class FakeMessageBox final : public IMessageBox {
public:
    struct Shown {
        std::wstring text, caption;
        MessageIcon icon;
    };
    void Show(const std::wstring& text, const std::wstring& caption, MessageIcon icon) override {
        shown.push_back({text, caption, icon});
    }
    std::vector<Shown> shown;
};

class FakeRegistry final : public IRegistry {
public:
    bool SetCurrentUserDword(const std::wstring& keyPath, const std::wstring& valueName,
                             std::uint32_t value) override {
        dwords[{keyPath, valueName}] = value;
        return true;
    }
    bool SetCurrentUserString(const std::wstring& keyPath, const std::wstring& valueName,
                              const std::wstring& data) override {
        if (failWrites) return false;
        strings[{keyPath, valueName}] = data;
        return true;
    }
    bool DeleteCurrentUserValue(const std::wstring& keyPath,
                                const std::wstring& valueName) override {
        if (failWrites) return false;
        strings.erase({keyPath, valueName});
        return true;
    }
    std::map<std::pair<std::wstring, std::wstring>, std::uint32_t> dwords;
    std::map<std::pair<std::wstring, std::wstring>, std::wstring> strings;
    bool failWrites = false;
};

class FakeNotifyIcon final : public INotifyIcon {
public:
    enum class Call { Add, Modify, Delete };
    struct Event {
        Call call;
        NotifyIconRecord record;
    };
    bool Add(const NotifyIconRecord& r) override { return Record(Call::Add, r); }
    bool Modify(const NotifyIconRecord& r) override { return Record(Call::Modify, r); }
    bool Delete(const NotifyIconRecord& r) override { return Record(Call::Delete, r); }
    std::vector<Event> events;

private:
    bool Record(Call call, const NotifyIconRecord& r) {
        events.push_back({call, r});
        return true;
    }
};

// A clock whose "local zone" is UTC with a fixed offset, so tests do not
// depend on the machine they run on.
class FakeClock final : public IClock {
public:
    CivilTime UtcNow() const override { return utcNow; }
    CivilTime LocalNow() const override { return localNow; }
    std::optional<std::int64_t> MakeLocalTime(const CivilTime& t) const override;
    std::optional<CivilTime> BreakLocalTime(std::int64_t value) const override;

    CivilTime utcNow{};
    CivilTime localNow{};
    int localOffsetSeconds = 0;
};

class FakeZoneSource final : public IPacificZoneSource {
public:
    std::optional<TimeZoneRules> ReadPacificZone() const override { return rules; }
    std::optional<TimeZoneRules> rules;
};

}  // namespace qv::test
