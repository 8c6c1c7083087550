#pragma once
// Made-up text metrics for the layout tests: every character 6 pixels wide, lines 10 high.
#include "controls/spectra/textmeasure.h"
#include <QString>

namespace vyr::spectra::test {

constexpr int kCharWidth = 6;
constexpr int kLineHeight = 10;

inline TextMeasure fakeMeasure(int charWidth = kCharWidth)
{
    return [charWidth](std::string_view text) {
        return QSize(charWidth * int(QString::fromUtf8(text.data(), qsizetype(text.size())).size()), kLineHeight);
    };
}

} // namespace vyr::spectra::test
