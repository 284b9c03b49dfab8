#pragma once
// The activity log page: its list box shows the log's lines, newest at the
// top. AddLogLine is the log's, called on this page.

#include "ActivityLog.h"
#include "CPageDialog.h"
#include "resource.h"

namespace qv {

class CDlgQVLiveLog final : public CPageDialog, private IActivityLogView {
public:
    CDlgQVLiveLog(HINSTANCE instance, const IClock& clock)
        : CPageDialog(instance, IDD_QVLIVE_LOG), log_(*this, clock) {}

    void AddLogLine(int code, int count = 0, const CMyObject* account = nullptr) {
        log_.AddLogLine(code, count, account);
    }
    void AddNoteLine(std::wstring_view text, const CMyObject* account = nullptr) {
        log_.AddNoteLine(text, account);
    }
    ActivityLog& Log() { return log_; }

protected:
    bool PaintsWholePage() const override { return true; }
    void PaintBackground(HDC dc, const RECT& client) override;

private:
    // IActivityLogView
    void InsertLine(int position, const std::wstring& text) override;

    ActivityLog log_;
};

}  // namespace qv
