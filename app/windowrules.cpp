#include "windowrules.h"

namespace parlix {

namespace {
constexpr int narrowestWindow = 7000;
constexpr int widestWindow = 18200;
} // namespace

WindowSizeFix windowSizeFix(bool maximized, bool minimized, int widthTwips)
{
    WindowSizeFix fix;
    if (minimized)
        return fix;
    if (!maximized && widthTwips < narrowestWindow)
        fix.widthTwips = narrowestWindow;
    if (widthTwips > widestWindow) {
        fix.restoreNormal = maximized;
        fix.widthTwips = widestWindow;
    }
    return fix;
}

std::optional<ListGeometry> listGeometry(int toolbarWidthTwips, int panelWidthTwips, int windowWidthTwips,
                                         int windowHeightTwips, bool minimized)
{
    if (toolbarWidthTwips <= 0 || minimized)
        return std::nullopt;
    ListGeometry geometry;
    if (windowWidthTwips > 301)
        geometry.widthTwips = toolbarWidthTwips - panelWidthTwips - 150;
    if (windowHeightTwips > 2201)
        geometry.heightTwips = windowHeightTwips - 2000;
    return geometry;
}

} // namespace parlix
