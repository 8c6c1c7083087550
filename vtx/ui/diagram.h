#pragma once
// The light-path diagram inside BeamPic: sample and excitation, the splitter positions NT1 and
// NT2 with their switching units, the four detector channels with their filters, the lamps,
// and Frame1 with the position option buttons. Clicks on detectors, filter labels, splitters
// and light labels open the popup menus; every choice goes to the ConfigurationEditor.
#include "platform/dao/database.h"
#include "vtx/model/editor.h"

#include <QWidget>
#include <array>
#include <functional>
#include <vector>

class QButtonGroup;
class QCheckBox;
class QFrame;
class QMenu;
class QRadioButton;

namespace vyr::vtx::ui {

// Where everything stands; painting and hit-testing both read it.
struct DiagramGeometry {
    std::array<QRect, 4> detector;       // PicPmt(n)
    std::array<QRect, 4> filterLabel;    // FilterLbl(n)
    std::array<QRect, 4> filterPicture;  // PicFilter(n)
    QRect nt2Splitter;                   // PicBeamSplitter(0)
    QRect nt1Splitter;                   // PicBeamSplitter(2)
    QRect reflectedLabel;                // ReflLabl
    QRect transmittedLabel;              // TransLabl
    QRect sample;
    QRect frame1;
    QRect wheelText;                     // BeamSplitterTxt(1), the filter-wheel splitter
    static DiagramGeometry standard();
};

class BeamDiagram : public QWidget {
    Q_OBJECT
public:
    explicit BeamDiagram(QWidget* parent = nullptr);

    // Loads from the database; false after a database error (its description is in `error`).
    void load(dao::Database& db, int32_t version);
    ConfigurationEditor& editor() { return editor_; }
    const DiagramGeometry& geometry() const { return geo_; }
    // Called after an outside change of the configuration (a store).
    void refresh();
    // A read-only diagram shows the configuration and takes no edits.
    void setReadOnly(bool readOnly);
    bool readOnly() const { return readOnly_; }

    // The menu a click opens is shown by this function; tests replace it to pick an entry.
    // It returns the chosen action or null.
    using MenuRunner = std::function<QAction*(QMenu&, const QPoint& globalPos)>;
    void setMenuRunner(MenuRunner run) { runMenu_ = std::move(run); }

    QSize sizeHint() const override;

    // Every text and box of the last paint, where it landed (lines are left out): no two of
    // them may overlap.
    struct Drawn {
        const char* what;
        QRect rect;
    };
    const std::vector<Drawn>& drawn() const { return drawn_; }

    // What Store would refuse or ask about, marked where it applies, with Store's message as
    // the mark's tool tip. Worked out again after every edit; Store stays the judge.
    struct Mark {
        QRect rect;
        QString tip;
    };
    const std::vector<Mark>& marks() const { return marks_; }
    QString markTip(const QPoint& pos) const;   // empty where there is no mark

signals:
    void edited();   // a handler ran; the editor's changed flag says whether anything changed

protected:
    void paintEvent(QPaintEvent*) override;
    bool event(QEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;

private:
    void detectorMenu(int channel, const QPoint& at);
    void lightMenu(LightSide side, const QPoint& at);
    void filterMenu(const std::string& holder, const QPoint& at);
    QAction* popup(QMenu& menu, const QPoint& at);
    void syncOptions();
    void afterEdit();
    void updateMarks();
    bool filterShown(int n) const;

    DiagramGeometry geo_;
    ConfigurationEditor editor_;
    dao::Database* db_ = nullptr;
    MenuRunner runMenu_;
    QFrame* frame1_ = nullptr;
    QRadioButton* noNt1_ = nullptr;
    QRadioButton* cubeNt1_ = nullptr;
    QRadioButton* noNt2_ = nullptr;
    QRadioButton* cubeNt2_ = nullptr;
    QRadioButton* mirror_ = nullptr;
    QCheckBox* checkMirror_ = nullptr;
    bool syncing_ = false;
    bool readOnly_ = false;
    std::vector<Drawn> drawn_;
    std::vector<Mark> marks_;
    int32_t version_ = 0;
};

} // namespace vyr::vtx::ui
