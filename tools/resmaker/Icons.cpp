#include "Icons.h"

#include "Palette.h"

namespace qv::res {
namespace {

const Color kDimRing = Rgb(0x6A93C6);  // white at 30% over the tile, but opaque
const Color kEyeEdge = Rgb(0x2C3E50);
const Color kIrisBlue = Rgb(0x2F80ED);

void Tile(Canvas& canvas) {
    canvas.Fill(RoundRect(0.03, 0.03, 0.97, 0.97, 0.2), kTileEdge);
    canvas.Fill(RoundRect(0.07, 0.07, 0.93, 0.93, 0.17), kTileBlue);
}

// A magnifying glass over the tile: the reader that looks into the shop.
void Magnifier(Canvas& canvas) {
    canvas.Fill(Stroke(0.60, 0.60, 0.80, 0.80, 0.085), kOrange);
    canvas.Fill(Ring(0.43, 0.43, 0.27, 0.15), kWhite);
}

void ProgramIcon(Canvas& canvas) {
    Tile(canvas);
    Magnifier(canvas);
}

// The tray shows the reader at work: a lit third of the lens runs round it,
// 60 degrees a frame, so six frames make one turn.
IconDrawing TrayFrame(int frame) {
    return [frame](Canvas& canvas) {
        Tile(canvas);
        canvas.Fill(Stroke(0.60, 0.60, 0.80, 0.80, 0.085), kOrange);
        canvas.Fill(Ring(0.43, 0.43, 0.27, 0.15), kDimRing);
        canvas.Fill(Arc(0.43, 0.43, 0.27, 0.15, frame * 60.0, 120.0), kWhite);
    };
}

void ExitIcon(Canvas& canvas) {
    canvas.Fill(Disc(0.5, 0.5, 0.47), kExitEdge);
    canvas.Fill(Disc(0.5, 0.5, 0.42), kExitRed);
    canvas.Fill(Stroke(0.33, 0.33, 0.67, 0.67, 0.08), kWhite);
    canvas.Fill(Stroke(0.67, 0.33, 0.33, 0.67, 0.08), kWhite);
}

void ShowIcon(Canvas& canvas) {
    const Shape white = Almond(0.5, 0.5, 0.39, 0.22);
    canvas.Fill(Almond(0.5, 0.5, 0.48, 0.31), kEyeEdge);
    canvas.Fill(white, kWhite);
    canvas.Fill(Both(white, Disc(0.5, 0.5, 0.19)), kIrisBlue);
    canvas.Fill(Disc(0.5, 0.5, 0.09), kEyeEdge);
    canvas.Fill(Disc(0.56, 0.44, 0.04), kWhite);
}

}  // namespace

std::vector<IconJob> AllIcons() {
    std::vector<IconJob> jobs = {{203, ProgramIcon}, {204, ExitIcon}};
    for (int frame = 0; frame < 6; ++frame) jobs.push_back({205 + frame, TrayFrame(frame)});
    jobs.push_back({211, ShowIcon});
    return jobs;
}

}  // namespace qv::res
