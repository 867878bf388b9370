#pragma once

// The colour reducer for pictures of more than 256 colours, through libimagequant.

#include "core/graphics/indexedimage.h"
#include "core/graphics/pictureimport.h"

namespace tarnwick::codec {

// A core::Quantiser: at most 256 colours; alpha-0 pixels, and only they, become
// colour 0. Throws core::ImportError when the library fails.
core::IndexedImage QuantiseImage(const core::RgbaImage& image, bool dither);

} // namespace tarnwick::codec
