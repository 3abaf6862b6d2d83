#include "app/fotovyv/PhotoLayout.h"

#include <cstdint>

namespace app {

PhotoRect layoutPhoto(int naturalWidth, int naturalHeight, const PhotoRect& box)
{
    const int64_t w = naturalWidth;
    const int64_t h = naturalHeight;
    const int64_t bw = box.width;
    const int64_t bh = box.height;
    int64_t width = w;
    int64_t height = h;
    if (w > bw || h > bh) {
        // bw / bh < W / H, compared without dividing (a box of no height is no error), and the
        // sizes computed in whole numbers so that truncation is exact.
        if (bw * h < w * bh) {
            width = bw;
            height = bw * h / w;
        } else {
            width = bh * w / h;
            height = bh;
        }
    }
    PhotoRect placed;
    placed.width = static_cast<int>(width);
    placed.height = static_cast<int>(height);
    placed.x = static_cast<int>(box.x + (bw - width) / 2);
    placed.y = static_cast<int>(box.y + (bh - height) / 2);
    return placed;
}

} // namespace app
