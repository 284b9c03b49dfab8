#pragma once
// One node of the account tree: a group node (one database file and its
// password) or an account node (one vendor account of that group). Nodes are
// made once from account.ini, linked into the account list and never
// deleted, so other objects may keep plain pointers to them.

#include <array>
#include <cstddef>
#include <string>
#include <string_view>

#include "RecentList.h"
#include "TextConvert.h"

namespace qv {

inline constexpr int kGroupNode = 0;
inline constexpr int kAccountNode = 1;

inline constexpr std::size_t kNodeNameWidth = 260;  // terminating zero included

// Where a part of the node was last drawn, in the tree's client coordinates.
struct NodeRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
};

class CMyObject {
public:
    CMyObject() = default;
    CMyObject(const CMyObject&) = delete;
    CMyObject& operator=(const CMyObject&) = delete;

    // Keeps at most kNodeNameWidth - 1 characters; where wchar_t is a UTF-16
    // unit a surrogate pair is never cut in half.
    void SetName(std::wstring_view name) {
        const std::size_t n = FieldLength(name, kNodeNameWidth);
        m_szName.fill(L'\0');
        for (std::size_t i = 0; i < n; ++i) m_szName[i] = name[i];
    }

    std::wstring_view Name() const {
        std::size_t n = 0;
        while (n < kNodeNameWidth && m_szName[n] != L'\0') ++n;
        return {m_szName.data(), n};
    }

    bool IsAccount() const { return m_nKind == kAccountNode; }

    std::array<wchar_t, kNodeNameWidth> m_szName{};
    int m_nKind = kGroupNode;
    int m_nImage = 0;
    CMyObject* m_pParent = nullptr;
    CMyObject* m_pPrev = nullptr;
    CMyObject* m_pNext = nullptr;
    int m_nIndent = 0;
    NodeRect m_rcCheck;
    NodeRect m_rcLink;
    int m_nCheckOffset = 20;
    int m_bChecked = 1;
    std::wstring m_strNickname;
    std::wstring m_strPassword;
    std::wstring m_strPageUrl;
    std::wstring m_strPagingUrl;
    std::wstring m_strReportUrl;
    std::wstring m_strLogoutUrl;
    RecentList m_arrRecent;
    std::wstring m_strDbFile;
    std::wstring m_strDbPassword;

    // The web session's state for this account during one check; the
    // planner clears it before every check (ResetSessionFields).
    int m_bAwaitingReport = 0;
    int m_bPageInFlight = 0;
    int m_bSigningOut = 0;
    int m_nPagesLeft = 0;
    int m_nNewItems = 0;

    // What the session keeps beside those, so that rows arriving during an
    // import are not lost and a failure is told and followed by a sign-out.
    struct ReportProgress {
        bool signedIn = false;    // the sign-in form went out or the report came
        bool closing = false;     // signing out after a failure, which is told already
        int passCount = 0;        // the item count the pages are being read by
        int latestCount = 0;      // the item count on the page read last
        bool rowsMoved = false;   // a page showed another count: rows arrived meanwhile
        int catchUpPage = 0;      // above 0: reading the pages again upwards, this one next
        int catchUpInserted = 0;  // rows the upward pass stored, in page order
        std::wstring unreadable;  // why the report's rows could not all be read
    };
    ReportProgress m_progress;

    void ResetSessionFields() {
        m_bAwaitingReport = 0;
        m_bPageInFlight = 0;
        m_bSigningOut = 0;
        m_nPagesLeft = 0;
        m_nNewItems = 0;
        m_progress = {};
    }
};

}  // namespace qv
