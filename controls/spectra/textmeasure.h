#pragma once
// Text measuring handed to the plain layout classes, so they can be tested with made-up
// metrics and run in the control with the real font.
#include <QFontMetrics>
#include <QSize>
#include <functional>
#include <string_view>

namespace vyr::spectra {

// Width and height in pixels of one line of text.
using TextMeasure = std::function<QSize(std::string_view text)>;

inline TextMeasure measureWith(const QFontMetrics& metrics)
{
    return [metrics](std::string_view text) {
        const QString s = QString::fromUtf8(text.data(), qsizetype(text.size()));
        return QSize(metrics.horizontalAdvance(s), metrics.height());
    };
}

} // namespace vyr::spectra
