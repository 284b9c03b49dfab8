#include "LoadAccounts.h"

#include <algorithm>
#include <map>

#include "AsciiText.h"
#include "Base64.h"
#include "CTextFileReader.h"
#include "CodePages.h"

namespace qv {
namespace {

constexpr std::wstring_view kDatabaseExtension = L".mdb";

// Where ".mdb" starts in a group's first field when it names a database
// file, with at least one character before it; npos otherwise. Windows file
// names ignore case, so "Shop.MDB" names the same kind of file as "Shop.mdb".
std::size_t DatabaseExtensionAt(const std::wstring& first) {
    const auto found = std::search(
        first.begin(), first.end(), kDatabaseExtension.begin(), kDatabaseExtension.end(),
        [](wchar_t a, wchar_t b) { return AsciiLower(a) == AsciiLower(b); });
    const auto extension = static_cast<std::size_t>(found - first.begin());
    return found != first.end() && extension >= 1 ? extension : std::wstring::npos;
}

void AddGroup(CMyObject& group, const std::vector<std::wstring>& fields) {
    const std::wstring& first = fields[0];
    const std::size_t extension = DatabaseExtensionAt(first);
    if (extension != std::wstring::npos) {
        group.m_strDbFile = first;
        group.m_strDbPassword = fields[1];
        group.SetName(std::wstring_view(first).substr(0, extension));
    } else {
        group.SetName(first);
    }
    group.m_nImage = 0;
    group.m_nKind = kGroupNode;
}

void AddAccount(CMyObject& account, CMyObject& group, const std::wstring& nickname,
                const std::wstring& password) {
    account.m_strNickname = nickname;
    account.m_strPassword = password;
    account.SetName(nickname);
    account.m_nImage = 1;
    account.m_nKind = kAccountNode;
    account.m_pParent = &group;
    account.m_strDbFile = group.m_strDbFile;
    account.m_strDbPassword = group.m_strDbPassword;
}

}  // namespace

std::vector<std::wstring> SplitAccountFields(std::wstring_view text) {
    std::vector<std::wstring> fields;
    std::size_t start = 0;
    for (std::size_t semicolon = text.find(L';'); semicolon != std::wstring_view::npos;
         semicolon = text.find(L';', start)) {
        fields.emplace_back(text.substr(start, semicolon - start));
        start = semicolon + 1;
    }
    return fields;
}

std::size_t AddAccountLine(AccountList& list, std::wstring_view decodedText) {
    const std::vector<std::wstring> fields = SplitAccountFields(decodedText);
    if (fields.empty()) return 0;
    // Without its group no account of the line can be placed.
    if (DatabaseExtensionAt(fields[0]) != std::wstring::npos && fields.size() < 2) return 0;

    CMyObject& group = list.Append();
    AddGroup(group, fields);
    std::size_t added = 1;
    for (std::size_t i = 3; i < fields.size(); i += 3) {
        if (i + 1 >= fields.size()) break;
        AddAccount(list.Append(), group, fields[i], fields[i + 1]);
        ++added;
    }
    return added;
}

void LoadAccounts(const std::wstring& programFolder, AccountList& list) {
    CTextFileReader reader;
    if (!reader.Open(programFolder + kAccountFile)) return;
    std::wstring line;
    while (reader.ReadLine(line)) {
        std::string bytes = DecodeBase64(line);
        const std::size_t zero = bytes.find('\0');
        if (zero != std::string::npos) bytes.resize(zero);
        AddAccountLine(list, AnsiToWide(bytes));
    }
}

namespace {

std::wstring GroupKey(const CMyObject& group) {
    return std::wstring(group.Name()) + L'\n' + group.m_strDbFile;
}

std::wstring NodeKey(const CMyObject& node) {
    if (!node.IsAccount()) return L"group\n" + GroupKey(node);
    const std::wstring group = node.m_pParent != nullptr ? GroupKey(*node.m_pParent) : L"";
    return L"account\n" + group + L'\n' + node.m_strNickname;
}

}  // namespace

bool MergeAccounts(AccountList& list, const AccountList& fresh) {
    std::map<std::wstring, CMyObject*> kept;
    std::vector<CMyObject*> before;
    for (CMyObject* node = list.Head(); node != nullptr; node = node->m_pNext) {
        kept.emplace(NodeKey(*node), node);
        before.push_back(node);
    }
    std::map<const CMyObject*, CMyObject*> groupOf;  // a fresh group to its node in the list
    std::vector<CMyObject*> order;
    bool changed = false;
    for (const CMyObject* node = fresh.Head(); node != nullptr; node = node->m_pNext) {
        CMyObject* target = nullptr;
        if (const auto found = kept.find(NodeKey(*node)); found != kept.end()) {
            target = found->second;
            kept.erase(found);  // a name the file repeats gets a node of its own
            changed = changed || target->m_strPassword != node->m_strPassword ||
                      target->m_strDbPassword != node->m_strDbPassword;
        } else {
            target = &list.Append();
            target->SetName(node->Name());
            target->m_nKind = node->m_nKind;
            target->m_nImage = node->m_nImage;
            target->m_strNickname = node->m_strNickname;
            changed = true;
        }
        target->m_strPassword = node->m_strPassword;
        target->m_strDbFile = node->m_strDbFile;
        target->m_strDbPassword = node->m_strDbPassword;
        target->m_pParent = node->m_pParent != nullptr ? groupOf[node->m_pParent] : nullptr;
        if (!node->IsAccount()) groupOf[node] = target;
        order.push_back(target);
    }
    changed = changed || order != before;
    list.Relink(order);
    return changed;
}

bool ReloadAccounts(const std::wstring& programFolder, AccountList& list) {
    AccountList fresh;
    LoadAccounts(programFolder, fresh);
    return MergeAccounts(list, fresh);
}

}  // namespace qv
