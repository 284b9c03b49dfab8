#include "Catalogue.h"

#include <algorithm>
#include <utility>

#include "PageArt.h"
#include "Palette.h"
#include "Pictures.h"
#include "SkinArt.h"

namespace qv::res {
namespace {

BitmapJob Job(std::string name, int id, int width, int height, std::function<Image()> draw) {
    return {std::move(name), id,     "bmp" + std::to_string(id) + ".bmp",
            width,           height, std::move(draw)};
}

std::function<Image()> Skin(SkinPiece piece) {
    return [piece] { return DrawSkin(piece); };
}

std::function<Image()> Tab(std::string label, TabLook look) {
    return [label = std::move(label), look] { return DrawTab(label, look); };
}

std::function<Image()> Button(int width, int height, std::string label, ButtonTone tone,
                              ButtonLook look, Color backdrop) {
    return [=] { return DrawButton(width, height, label, tone, look, backdrop); };
}

std::function<Image()> Strip(StripPiece piece) {
    return [piece] { return DrawAccountStrip(piece); };
}

}  // namespace

std::vector<BitmapJob> AllBitmaps() {
    using B = ButtonTone;
    using L = ButtonLook;
    // The Now and Auto buttons stand on the account strip; Save and Sales
    // Analyse on white panels.
    const Color strip = kStripFace;
    const Color panel = kWhite;
    std::vector<BitmapJob> jobs = {
        Job("IDB_SKIN_BOTTOM_LEFT", 129, 20, 30, Skin(SkinPiece::kBottomLeft)),
        Job("IDB_SKIN_BOTTOM", 130, 1, 30, Skin(SkinPiece::kBottom)),
        Job("IDB_SKIN_BOTTOM_RIGHT", 131, 20, 30, Skin(SkinPiece::kBottomRight)),
        Job("IDB_SKIN_LEFT", 132, 20, 1, Skin(SkinPiece::kLeft)),
        Job("IDB_SKIN_RIGHT", 133, 20, 1, Skin(SkinPiece::kRight)),
        Job("IDB_SKIN_TOP_LEFT", 136, 20, 85, Skin(SkinPiece::kTopLeft)),
        Job("IDB_SKIN_TOP", 137, 1, 85, Skin(SkinPiece::kTop)),
        Job("IDB_SKIN_TOP_RIGHT", 138, 20, 85, Skin(SkinPiece::kTopRight)),
        Job("IDB_CLOSE_HOVER", 139, 26, 25, [] { return DrawCloseButton(true); }),
        Job("IDB_CLOSE_NORMAL", 140, 26, 25, [] { return DrawCloseButton(false); }),
        Job("IDB_TAB_LOG_NORMAL", 143, 93, 29, Tab("Log", TabLook::kNormal)),
        Job("IDB_TAB_ACCOUNTS_SELECTED", 144, 93, 29, Tab("Accounts", TabLook::kSelected)),
        Job("IDB_TAB_ACCOUNTS_HOVER", 145, 93, 29, Tab("Accounts", TabLook::kHover)),
        Job("IDB_TAB_ACCOUNTS_NORMAL", 146, 93, 29, Tab("Accounts", TabLook::kNormal)),
        Job("IDB_TAB_DATA_SELECTED", 147, 93, 29, Tab("Data", TabLook::kSelected)),
        Job("IDB_TAB_DATA_HOVER", 148, 93, 29, Tab("Data", TabLook::kHover)),
        Job("IDB_TAB_DATA_NORMAL", 149, 93, 29, Tab("Data", TabLook::kNormal)),
        Job("IDB_TAB_LOG_SELECTED", 150, 93, 29, Tab("Log", TabLook::kSelected)),
        Job("IDB_TAB_LOG_HOVER", 151, 93, 29, Tab("Log", TabLook::kHover)),
        Job("IDB_TREE_GROUP", 156, 16, 16, DrawTreeGroup),
        Job("IDB_TREE_ACCOUNT", 157, 16, 16, DrawTreeAccount),
        Job("IDB_TREE_EXPANDER", 158, 18, 9, DrawTreeExpander),
        Job("IDB_MENU_PICTURE", 159, 120, 64, DrawMenuPicture),
        Job("IDB_CHECK_GLYPHS", 162, 72, 12, DrawCheckGlyphs),
        Job("IDB_ACCOUNT_STRIP_RIGHT", 164, 145, 83, Strip(StripPiece::kRight)),
        Job("IDB_ACCOUNT_STRIP_LEFT", 165, 6, 83, Strip(StripPiece::kLeft)),
        Job("IDB_ACCOUNT_STRIP_MIDDLE", 166, 1, 83, Strip(StripPiece::kMiddle)),
        Job("IDB_STOP_MANUAL_NORMAL", 167, 106, 48,
            Button(106, 48, "Stop Manual Run", B::kOrange, L::kNormal, strip)),
        Job("IDB_MANUAL_PRESSED", 168, 106, 48,
            Button(106, 48, "Manual Run", B::kBlue, L::kPressed, strip)),
        Job("IDB_MANUAL_HOVER", 169, 106, 48,
            Button(106, 48, "Manual Run", B::kBlue, L::kHover, strip)),
        Job("IDB_MANUAL_NORMAL", 170, 106, 48,
            Button(106, 48, "Manual Run", B::kBlue, L::kNormal, strip)),
        Job("IDB_STOP_MANUAL_PRESSED", 171, 106, 48,
            Button(106, 48, "Stop Manual Run", B::kOrange, L::kPressed, strip)),
        Job("IDB_STOP_MANUAL_HOVER", 172, 106, 48,
            Button(106, 48, "Stop Manual Run", B::kOrange, L::kHover, strip)),
        Job("IDB_AUTO_RUN", 176, 121, 41, Button(121, 41, "Auto Run", B::kBlue, L::kNormal, strip)),
        Job("IDB_STOP_AUTO_RUN", 180, 121, 41,
            Button(121, 41, "Stop Auto Run", B::kOrange, L::kNormal, strip)),
        Job("IDB_MANUAL_DISABLED", 181, 106, 48,
            Button(106, 48, "Manual Run", B::kBlue, L::kDisabled, strip)),
        Job("IDB_TREE_OFF", 182, 30, 12, DrawTreeOff),
        Job("IDB_TAB_SETTINGS_NORMAL", 184, 93, 29, Tab("Settings", TabLook::kNormal)),
        Job("IDB_TAB_SETTINGS_SELECTED", 185, 93, 29, Tab("Settings", TabLook::kSelected)),
        Job("IDB_TAB_SETTINGS_HOVER", 186, 93, 29, Tab("Settings", TabLook::kHover)),
        Job("IDB_RADIO_GLYPHS", 187, 72, 12, DrawRadioGlyphs),
        Job("IDB_TREE_ON", 188, 30, 12, DrawTreeOn),
        Job("IDB_TREE_DATA_LINK", 189, 43, 12, DrawTreeDataLink),
        Job("IDB_ANALYSE_NORMAL", 190, 106, 48,
            Button(106, 48, "Sales Analyse", B::kBlue, L::kNormal, panel)),
        Job("IDB_ANALYSE_PRESSED", 191, 106, 48,
            Button(106, 48, "Sales Analyse", B::kBlue, L::kPressed, panel)),
        Job("IDB_ANALYSE_HOVER", 192, 106, 48,
            Button(106, 48, "Sales Analyse", B::kBlue, L::kHover, panel)),
        Job("IDB_SAVE_NORMAL", 199, 106, 48, Button(106, 48, "Save", B::kBlue, L::kNormal, panel)),
        Job("IDB_SAVE_PRESSED", 200, 106, 48,
            Button(106, 48, "Save", B::kBlue, L::kPressed, panel)),
        Job("IDB_SAVE_HOVER", 201, 106, 48, Button(106, 48, "Save", B::kBlue, L::kHover, panel)),
    };
    // The updater's own picture, not part of the reader's resources.
    jobs.push_back({"", 130, "update130.bmp", 150, 350, DrawUpdatePicture});
    return jobs;
}

std::string BitmapScript(const std::vector<BitmapJob>& jobs) {
    std::size_t nameWidth = 0;
    for (const BitmapJob& job : jobs) nameWidth = std::max(nameWidth, job.name.size());
    std::string script =
        "// Bitmaps of QVReader. Written by tools/resmaker with the pictures\n"
        "// under bitmaps/; change the drawings there, not this list.\n\n";
    for (const BitmapJob& job : jobs) {
        if (job.name.empty()) continue;
        script += job.name + std::string(nameWidth + 1 - job.name.size(), ' ') +
                  "BITMAP \"bitmaps/" + job.file + "\"\n";
    }
    return script;
}

}  // namespace qv::res
