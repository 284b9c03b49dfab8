#include "AccountFileWriter.h"

#include <cstdint>
#include <fstream>
#include <iterator>
#include <system_error>

#include "TextConvert.h"

namespace qv {
namespace {

namespace fs = std::filesystem;

constexpr int kFailed = 1;
constexpr int kUsage = 2;

std::string PathText(const fs::path& path) {
    const std::u8string text = path.u8string();
    return std::string(text.begin(), text.end());
}

void AppendField(std::string& record, const std::wstring& value) {
    record += WideToCp1252(value);
    record += ';';
}

}  // namespace

std::string EncodeBase64(std::string_view bytes) {
    static constexpr char kAlphabet[] =
        "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string out;
    out.reserve((bytes.size() + 2) / 3 * 4);
    std::size_t i = 0;
    for (; i + 3 <= bytes.size(); i += 3) {
        const std::uint32_t group = static_cast<unsigned char>(bytes[i]) << 16 |
                                    static_cast<unsigned char>(bytes[i + 1]) << 8 |
                                    static_cast<unsigned char>(bytes[i + 2]);
        for (int shift = 18; shift >= 0; shift -= 6) {
            out.push_back(kAlphabet[(group >> shift) & 63]);
        }
    }
    const std::size_t rest = bytes.size() - i;
    if (rest > 0) {
        std::uint32_t group = static_cast<unsigned char>(bytes[i]) << 16;
        if (rest == 2) group |= static_cast<unsigned char>(bytes[i + 1]) << 8;
        out.push_back(kAlphabet[(group >> 18) & 63]);
        out.push_back(kAlphabet[(group >> 12) & 63]);
        out.push_back(rest == 2 ? kAlphabet[(group >> 6) & 63] : '=');
        out.push_back('=');
    }
    return out;
}

std::string GroupRecord(const DatabaseGroup& group) {
    std::string record;
    AppendField(record, group.databaseFile);
    AppendField(record, group.databasePassword);
    AppendField(record, L"");
    for (const VendorAccount& account : group.accounts) {
        AppendField(record, account.nickname);
        AppendField(record, account.password);
        AppendField(record, L"");
    }
    return record;
}

std::string AccountFileBytes(const std::vector<DatabaseGroup>& groups) {
    std::string file;
    for (const DatabaseGroup& group : groups) {
        file += EncodeBase64(GroupRecord(group));
        file += "\r\n";
    }
    return file;
}

CommandOutcome RunWriteAccounts(const std::vector<fs::path>& arguments,
                                const fs::path& programFolder) {
    if (arguments.empty() || arguments.size() > 2) {
        return {kUsage, "usage: write-accounts DESCRIPTION-FILE [OUTPUT-FOLDER]"};
    }
    const fs::path& descriptionPath = arguments[0];
    const fs::path folder = arguments.size() == 2 ? arguments[1] : programFolder;

    std::ifstream in(descriptionPath, std::ios::binary);
    if (!in) return {kFailed, PathText(descriptionPath) + ": cannot be opened"};
    const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (in.bad()) return {kFailed, PathText(descriptionPath) + ": cannot be read"};

    const ParsedDescription parsed = ParseAccountDescription(text);
    if (parsed.error) {
        return {kFailed, PathText(descriptionPath) + ":" + std::to_string(parsed.error->line) +
                             ": " + parsed.error->message};
    }

    // A mistyped folder should fail, not quietly grow a new tree.
    std::error_code error;
    if (!fs::is_directory(folder, error)) {
        return {kFailed, PathText(folder) + ": no such folder"};
    }
    const fs::path target = folder / kAccountFileName;
    const std::string bytes = AccountFileBytes(parsed.groups);
    std::ofstream out(target, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.close();
    if (!out) return {kFailed, PathText(target) + ": cannot be written"};
    return {};
}

}  // namespace qv
