#pragma once

// Where the windows' controls stand: each control's place at 96 DPI within its parent, the
// parent edges it follows when the parent is resized, and the arithmetic that turns both into a
// rectangle at the window's DPI and size. Window-free, so that both the Windows program and the
// tests use the same numbers.

#include <cstdint>

namespace zir::shell {

// The parent edges a control keeps its distance to.
enum TAnchor : unsigned {
    akLeft = 1,
    akTop = 2,
    akRight = 4,
    akBottom = 8,
    akAll = akLeft | akTop | akRight | akBottom,
};

struct TBounds {
    int Left = 0;
    int Top = 0;
    int Width = 0;
    int Height = 0;
    bool operator==(const TBounds&) const = default;
};

struct TExtent {
    int Width = 0;
    int Height = 0;
    bool operator==(const TExtent&) const = default;
};

// A control's place in its parent at 96 DPI, and its anchors.
struct TPlacement {
    TBounds Bounds;
    unsigned Anchors = akLeft | akTop;
};

// The layout's unit: a length at 96 DPI becomes this many pixels at dpi, rounded to the nearest
// (halves away from zero, as the system's MulDiv does).
int ScaleForDpi(int length, int dpi);
TExtent ScaleForDpi(TExtent extent, int dpi);

// The control's rectangle in a parent of `parent` pixels at dpi, whose design size (at 96 DPI)
// is `designParent`. A control anchored left and right stretches with the parent's width, one
// anchored right only moves with the right edge, one anchored left only stays; the same for top
// and bottom. Sizes never go below 0 when the parent is made smaller than its design.
TBounds PlaceControl(const TPlacement& placement, TExtent designParent, TExtent parent, int dpi);

// The main window TForm1 ("身份证zir"): client area 535 x 582 at screen position 888, 100.
namespace MainFormLayout {
inline constexpr int kLeft = 888;
inline constexpr int kTop = 100;
inline constexpr TExtent kClient{535, 582};
// A tab page's client area at the design size of the tab control.
inline constexpr TExtent kPage{527, 554};
inline constexpr TExtent kPanel{108, 132};
inline constexpr TPlacement pages{{0, 0, 535, 582}, akAll};
inline constexpr TPlacement mmo1{{0, 0, 527, 514}, akAll};
inline constexpr TPlacement btnStartServer{{304, 521, 100, 25}, akRight | akBottom};
inline constexpr TPlacement btnStopServer{{408, 521, 100, 25}, akRight | akBottom};
inline constexpr TPlacement mmoIdCard{{8, 8, 393, 534}, akAll};
inline constexpr TPlacement pnl1{{410, 8, 108, 132}, akTop | akRight};
inline constexpr TPlacement imgPhoto{{3, 3, 102, 126}, akLeft | akTop};
inline constexpr TPlacement btnTestGetUID{{416, 482, 102, 25}, akRight | akBottom};
inline constexpr TPlacement btnTestIdCard{{416, 514, 102, 25}, akRight | akBottom};
} // namespace MainFormLayout

// The settings dialog TForm2 ("系统设置"): client area 274 x 243 at screen position 846, 193,
// not resizable.
namespace SettingsFormLayout {
inline constexpr int kLeft = 846;
inline constexpr int kTop = 193;
inline constexpr TExtent kClient{274, 243};
inline constexpr TPlacement lbl2{{16, 24, 55, 16}};
inline constexpr TPlacement TxtWebPort{{80, 24, 177, 24}};
inline constexpr TPlacement lbl3{{16, 56, 55, 16}};
inline constexpr TPlacement txtWebType{{80, 56, 177, 24}};
inline constexpr TPlacement chkCache{{16, 88, 97, 17}};
inline constexpr TPlacement chkOpenSound{{16, 112, 97, 17}};
inline constexpr TPlacement chkAutoRun{{16, 168, 217, 17}};
inline constexpr TPlacement lbl1{{16, 200, 241, 1}};
inline constexpr TPlacement btnSaveConfig{{168, 208, 89, 25}};
} // namespace SettingsFormLayout

// Both windows' font, 微软雅黑, GB2312 character set, 11 pixels high at 96 DPI (the height of
// the characters, without the line's leading: a negative font height). Named by its English
// face name: font lookup matches that one on every system locale, the Chinese one only where
// the locale is Chinese, and elsewhere the windows would fall back to another face.
inline constexpr const char* kFormFontFace = "Microsoft YaHei";
inline constexpr int kFormFontHeight = -11;

// Where a window of `size` pixels goes when its design position is `left`, `top`: there, unless
// that would put part of it outside the work area, in which case it moves (as little as it takes)
// inside; a window larger than the work area keeps its top left corner in it.
struct TWorkArea {
    int Left = 0;
    int Top = 0;
    int Right = 0;
    int Bottom = 0;
};
TBounds KeepInWorkArea(int left, int top, TExtent size, TWorkArea area);

} // namespace zir::shell
