#include "platform/gdi/text.h"
#include "platform/gdi/plaindrawing.h"
#include <QFontMetrics>
#include <QHash>
#include <QPainter>
#include <algorithm>
#include <vector>

namespace vyr::gdi {
namespace {

// Widths of text pieces already measured in one font at one resolution. A face repaint
// measures its caption several times (to size it, to wrap it, to place each line and its
// underline) and paints do not change the caption often: shaping it once is enough.
struct WidthCache {
    QFont font;
    int dpi = 0;
    QHash<QString, int> widths;
};

constexpr int kCachedFonts = 8;
constexpr qsizetype kCachedWidths = 512;

WidthCache* widthCacheFor(const QFont& font, int dpi)
{
    thread_local std::vector<WidthCache> caches;
    for (WidthCache& c : caches)
        if (c.dpi == dpi && c.font == font && c.font.resolveMask() == font.resolveMask())
            return &c;
    if (caches.size() >= kCachedFonts)
        caches.erase(caches.begin());
    caches.push_back({font, dpi, {}});
    return &caches.back();
}

struct Metrics {
    QFontMetrics fm;
    int lineHeight;
    int tabWidth; // 0: tabs are not expanded
    WidthCache* cache = nullptr; // null: measure every time

    int advance(const QString& piece) const
    {
        if (!cache)
            return fm.horizontalAdvance(piece);
        if (auto it = cache->widths.constFind(piece); it != cache->widths.cend())
            return *it;
        if (cache->widths.size() >= kCachedWidths)
            cache->widths.clear();
        const int w = fm.horizontalAdvance(piece);
        cache->widths.insert(piece, w);
        return w;
    }
};

// A line of displayed text and the index of its underlined character (-1 for none).
struct Line {
    QString text;
    int underline = -1;
};

// Calls run(segment, x) for each tab-free piece of `s`, x counted from the line's start.
template <class F>
int walk(const Metrics& m, const QString& s, F run)
{
    int x = 0;
    qsizetype from = 0;
    while (true) {
        const qsizetype tab = m.tabWidth ? s.indexOf(u'\t', from) : -1;
        const QString piece = s.mid(from, tab < 0 ? -1 : tab - from);
        run(piece, x);
        x += m.advance(piece);
        if (tab < 0)
            return x;
        x = (x / m.tabWidth + 1) * m.tabWidth;
        from = tab + 1;
    }
}

int widthOf(const Metrics& m, const QString& s)
{
    return walk(m, s, [](const QString&, int) {});
}

Line stripPrefix(const QString& s)
{
    Line line;
    for (qsizetype i = 0; i < s.size(); ++i) {
        if (s[i] != u'&') {
            line.text += s[i];
            continue;
        }
        if (++i >= s.size())
            break; // a lone '&' at the end
        if (s[i] != u'&' && line.underline < 0)
            line.underline = int(line.text.size());
        line.text += s[i];
    }
    return line;
}

void wrap(const Line& whole, int maxWidth, const Metrics& m, std::vector<Line>& out)
{
    const QString& s = whole.text;
    const qsizetype n = s.size();
    qsizetype start = 0;
    do {
        // Take word after word (with the spaces before it) while the line still fits; the
        // first word is taken even when it alone is too wide.
        qsizetype end = start;
        while (end < n) {
            qsizetype j = end;
            while (j < n && s[j] == u' ')
                ++j;
            while (j < n && s[j] != u' ')
                ++j;
            if (end > start && widthOf(m, s.mid(start, j - start)) > maxWidth)
                break;
            end = j;
        }
        Line line{s.mid(start, end - start)};
        if (whole.underline >= start && whole.underline < end)
            line.underline = int(whole.underline - start);
        out.push_back(line);
        start = end;
        while (start < n && s[start] == u' ')
            ++start; // the spaces at a break vanish
    } while (start < n);
}

std::vector<Line> layout(const QString& text, UINT format, int maxWidth, const Metrics& m)
{
    std::vector<Line> lines;
    if (text.isEmpty())
        return lines;
    QStringList paragraphs;
    if (format & DT_SINGLELINE) {
        QString one = text;
        one.remove(u'\r').remove(u'\n');
        paragraphs << one;
    } else {
        QString t = text;
        t.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(QChar(u'\r'), QChar(u'\n'));
        paragraphs = t.split(u'\n');
        if (paragraphs.size() > 1 && paragraphs.back().isEmpty())
            paragraphs.pop_back();
    }
    for (const QString& p : paragraphs) {
        const Line whole = (format & DT_NOPREFIX) ? Line{p} : stripPrefix(p);
        if ((format & DT_WORDBREAK) && !(format & DT_SINGLELINE))
            wrap(whole, maxWidth, m, lines);
        else
            lines.push_back(whole);
    }
    return lines;
}

} // namespace

int DrawText(QPainter& p, const QString& text, QRect& rect, UINT format)
{
    int tabChars = 8;
    if (format & DT_TABSTOP) {
        tabChars = int((format >> 8) & 0xFF);
        format &= ~0xFF00u;
        if (tabChars == 0)
            tabChars = 8;
    }
    const bool onDevice = p.isActive() && p.device();
    const QFontMetrics fm = onDevice ? QFontMetrics(p.font(), p.device()) : QFontMetrics(p.font());
    const Metrics m{fm, fm.height() + ((format & DT_EXTERNALLEADING) ? fm.leading() : 0),
                    (format & DT_EXPANDTABS) ? std::max(1, fm.averageCharWidth() * tabChars) : 0,
                    onDevice && !plainDrawing() ? widthCacheFor(p.font(), p.device()->logicalDpiY()) : nullptr};
    const std::vector<Line> lines = layout(text, format, rect.width(), m);
    const int height = int(lines.size()) * m.lineHeight;

    if (format & DT_CALCRECT) {
        int width = 0;
        for (const Line& l : lines)
            width = std::max(width, widthOf(m, l.text));
        rect.setSize(QSize(width, height));
        return height;
    }
    if (lines.empty())
        return 0;

    int y = rect.top();
    if ((format & DT_SINGLELINE) && (format & DT_VCENTER))
        y = rect.top() + (rect.height() - height) / 2;
    else if ((format & DT_SINGLELINE) && (format & DT_BOTTOM))
        y = rect.top() + rect.height() - height;

    p.save();
    if (!(format & DT_NOCLIP))
        p.setClipRect(rect, Qt::IntersectClip);
    const bool opaque = p.backgroundMode() == Qt::OpaqueMode;
    const QColor textColor = p.pen().color();
    for (const Line& line : lines) {
        const int w = widthOf(m, line.text);
        int x = rect.left();
        if (format & DT_CENTER)
            x = rect.left() + (rect.width() - w) / 2;
        else if (format & DT_RIGHT)
            x = rect.left() + rect.width() - w;
        if (opaque)
            p.fillRect(QRect(x, y, w, m.lineHeight), p.background().color());
        if (!(format & DT_PREFIXONLY))
            walk(m, line.text, [&](const QString& piece, int dx) {
                p.drawText(QPoint(x + dx, y + fm.ascent()), piece);
            });
        if (line.underline >= 0 && !(format & DT_HIDEPREFIX)) {
            const int x0 = widthOf(m, line.text.left(line.underline));
            const int x1 = widthOf(m, line.text.left(line.underline + 1));
            p.fillRect(QRect(x + x0, y + fm.ascent() + 1, x1 - x0, 1), textColor);
        }
        y += m.lineHeight;
    }
    p.restore();
    return height;
}

QSize TextExtent(const QFont& font, const QString& text, const QPaintDevice* device)
{
    const QFontMetrics fm = device ? QFontMetrics(font, device) : QFontMetrics(font);
    return QSize(fm.horizontalAdvance(text), fm.height());
}

} // namespace vyr::gdi
