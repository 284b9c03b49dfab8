#include "TrayIcon.h"

#include "TextConvert.h"
#include "resource.h"

namespace qv {
namespace {

constexpr std::uint32_t kBalloonTimeout = 1000;
constexpr std::uint32_t kInfoIcon = 1;  // NIIF_INFO

// The shell's record keeps fixed-size, terminated fields.
std::wstring FitField(const std::wstring& text, std::size_t fieldChars) {
    return text.substr(0, FieldLength(text, fieldChars));
}

}  // namespace

TrayIcon::TrayIcon(INotifyIcon& shell, std::uint32_t callbackMessage) : shell_(shell) {
    record_.id = IDI_QVREADER;
    record_.callbackMessage = callbackMessage;
    record_.iconResource = IDI_QVREADER;
    record_.tip = FitField(kTrayTip, NotifyIconRecord::kTipChars);
}

void TrayIcon::SetPlainFlags() {
    record_.flags = NotifyIconRecord::kMessage | NotifyIconRecord::kIcon | NotifyIconRecord::kTip;
}

void TrayIcon::Add() {
    SetPlainFlags();
    shell_.Add(record_);
}

void TrayIcon::Delete() {
    shell_.Delete(record_);
}

void TrayIcon::StepTrayAnimation() {
    SetPlainFlags();
    record_.timeout = kBalloonTimeout;
    if (frame_ <= IDI_TRAY_FRAME_LAST - IDI_TRAY_FRAME_FIRST) {
        record_.iconResource = IDI_TRAY_FRAME_FIRST + frame_;
    }
    shell_.Modify(record_);
    if (++frame_ >= kAnimationTicks) frame_ = 0;
}

void TrayIcon::RestoreTrayIcon() {
    SetPlainFlags();
    record_.timeout = kBalloonTimeout;
    record_.iconResource = IDI_QVREADER;
    shell_.Modify(record_);
}

void TrayIcon::ShowNewItemsBalloon(const std::wstring& nickname, int count) {
    if (count == 0) return;
    balloonTitle_ = L"Account: " + nickname;
    balloonText_ = L"Get " + std::to_wstring(count) + L" new items";
    record_.flags = NotifyIconRecord::kMessage | NotifyIconRecord::kIcon | NotifyIconRecord::kTip |
                    NotifyIconRecord::kInfo;
    record_.timeout = kBalloonTimeout;
    record_.infoFlags = kInfoIcon;
    record_.info = FitField(balloonText_, NotifyIconRecord::kInfoChars);
    record_.infoTitle = FitField(balloonTitle_, NotifyIconRecord::kInfoTitleChars);
    shell_.Modify(record_);
}

}  // namespace qv
