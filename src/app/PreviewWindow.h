#pragma once
// The preview window: a picture of what the generator will put out for the panel's confirmed
// values, kept beside the main window while the user works. It reads the panel and changes
// nothing; a box being edited (orange) counts with its last confirmed text until Enter.
#include "preview/Preview.h"

#include <QStringList>
#include <QWidget>

class frmDXS;
class QAction;
class QLabel;
class PreviewPlot;
struct Panel;

class PreviewWindow : public QWidget {
    Q_OBJECT
public:
    explicit PreviewWindow(frmDXS& owner);

    // The setting the panel's confirmed values stand for.
    static preview::Setting readSetting(const Panel& panel);
    // The captions of the boxes that hold an edit not yet confirmed.
    static QStringList pendingBoxes(const Panel& panel);

    // Recomputes the picture from the panel now (a change is otherwise picked up once the event
    // that made it has been handled).
    void refresh();

    PreviewPlot* plot() const { return m_plot; }
    QLabel* wordsLine() const { return m_words; }
    QLabel* pendingLine() const { return m_pending; }
    QAction* savePng = nullptr;
    QAction* saveSvg = nullptr;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void scheduleRefresh();
    void save(const QString& kind);

    frmDXS& m_owner;
    PreviewPlot* m_plot = nullptr;
    QLabel* m_pending = nullptr;
    QLabel* m_words = nullptr;
    bool m_refreshQueued = false;
};

// Opens the preview window beside the main window, or brings the open one forward.
PreviewWindow& showPreviewWindow(frmDXS& owner);
