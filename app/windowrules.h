#pragma once

#include <optional>

namespace parlix {

// The main window's size rules, in twips: in the normal state it is at least
// 7,000 wide; normal or maximized, it is at most 18,200 wide, and a wider
// maximized window goes back to the normal state.
struct WindowSizeFix
{
    bool restoreNormal = false;
    std::optional<int> widthTwips;

    bool operator==(const WindowSizeFix&) const = default;
};

WindowSizeFix windowSizeFix(bool maximized, bool minimized, int widthTwips);

// Where the deferred layout puts the archive list, in twips: as wide as the
// toolbar less the tree panel less 150, as high as the window less 2,000, at
// the top, 50 from the left. A part is missing when the window is too small
// for it; nothing at all when the toolbar has no width or the window is
// minimized.
struct ListGeometry
{
    std::optional<int> widthTwips;
    std::optional<int> heightTwips;
    int leftTwips = 50;
    int topTwips = 0;

    bool operator==(const ListGeometry&) const = default;
};

std::optional<ListGeometry> listGeometry(int toolbarWidthTwips, int panelWidthTwips, int windowWidthTwips,
                                         int windowHeightTwips, bool minimized);

} // namespace parlix
