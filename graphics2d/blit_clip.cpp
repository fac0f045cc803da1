#include "graphics2d/blit_clip.h"

#include <algorithm>

bool ClipBlit(const VOrientation& o, const VBlitExtent& dst, const VBlitExtent& src, int32_t x,
              int32_t y, const VRect& logical, VBlitArea* area) {
    const VRect s = LogicalToPhysical(o, src.physwidth, src.physheight, logical);
    int64_t left = s.left, top = s.top, right = s.right, bottom = s.bottom;
    int32_t px = x, py = y;
    LogicalToPhysical(o, dst.physwidth, dst.physheight, &px, &py);
    int64_t dx = px, dy = py;
    if (o.xdirection < 0) dx -= right - left - 1;
    if (o.ydirection < 0) dy -= bottom - top - 1;
    const VRect& c = dst.clip;
    if (dx >= c.right || dy >= c.bottom) return false;
    if (right <= left || bottom <= top) return false;
    if (right <= 0 || bottom <= 0 || left >= int64_t(src.physwidth) ||
        top >= int64_t(src.physheight))
        return false;
    if (left < 0) dx -= left, left = 0;
    if (top < 0) dy -= top, top = 0;
    if (dx < c.left) left += c.left - dx, dx = c.left;
    if (dy < c.top) top += c.top - dy, dy = c.top;
    right = std::min<int64_t>(right, src.physwidth);
    bottom = std::min<int64_t>(bottom, src.physheight);
    right = std::min<int64_t>(right, left + (c.right - dx));
    bottom = std::min<int64_t>(bottom, top + (c.bottom - dy));
    if (right <= left || bottom <= top) return false;
    area->x = dx;
    area->y = dy;
    area->source = VRect{int32_t(left), int32_t(top), int32_t(right), int32_t(bottom)};
    return true;
}
