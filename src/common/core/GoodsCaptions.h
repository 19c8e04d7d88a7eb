#pragma once

#include <QString>
#include <array>

namespace talvor {

class Dataset;

// The user's own captions of goods code, name, 规格, model and category, in this
// order; they replace the fixed titles wherever goods are shown or printed.
using GoodsCaptionTexts = std::array<QString, 5>;

GoodsCaptionTexts& GoodsCaptions();

// Reads the captions from the first userinfo row through the given dataset (UserQ); NULL
// gives an empty caption. A failure throws and leaves what was read before it.
void loadGoodsCaptions(Dataset& userQ, GoodsCaptionTexts& captions);

}  // namespace talvor
