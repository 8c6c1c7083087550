#pragma once
// The window of a ControlPage: paints the page background, takes drops of dragged controls,
// catches presses on hosted controls for dragging, passes the focus on, and shows the drag
// feedback outline inverted over everything on the page.
#include <QWidget>

namespace vyr::frames {

class ControlPage;

class PageWidget final : public QWidget {
public:
    PageWidget(ControlPage& page, QWidget* parent);

    // Repaints the feedback outline where it was and where it is now.
    void feedbackMoved(const QRect& before, const QRect& after);
    // Keeps the feedback layer above controls hosted after it.
    void raiseFeedback();

protected:
    void paintEvent(QPaintEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;
    void focusInEvent(QFocusEvent* e) override;
    void dragEnterEvent(QDragEnterEvent* e) override;
    void dragMoveEvent(QDragMoveEvent* e) override;
    void dragLeaveEvent(QDragLeaveEvent* e) override;
    void dropEvent(QDropEvent* e) override;
    bool eventFilter(QObject* watched, QEvent* e) override;

private:
    // Accepts a drag the page can take, with its effect; false when refused.
    bool dragOver(QDropEvent* e);

    ControlPage& page_;
    QWidget* feedback_;
};

} // namespace vyr::frames
