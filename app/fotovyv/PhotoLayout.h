#pragma once

// Where the photo window puts a picture: inside the box that marks the photo area, at its
// natural size when it fits, otherwise scaled down to the box keeping its proportions, and
// centred in the box either way. Everything is in the window's dialog units; computed sizes and
// offsets are truncated to whole units.
namespace app {

struct PhotoRect
{
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;

    bool operator==(const PhotoRect&) const = default;
};

// naturalWidth and naturalHeight must be positive (a picture that has no size is not placed).
PhotoRect layoutPhoto(int naturalWidth, int naturalHeight, const PhotoRect& box);

} // namespace app
