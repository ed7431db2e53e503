#pragma once

#include "wheelnotches.h"

#include <QListWidget>

#include <functional>

// The drop-down list of the combo edit: a top-most window that is never
// activated and never takes the focus, so typing stays in the edit.
class TPopupListboxEx : public QListWidget {
    Q_OBJECT
public:
    explicit TPopupListboxEx(QWidget *owner);

    void setItemHeight(int height);
    int itemHeight() const { return itemHeight_; }
    void setTexts(const QStringList &texts);
    int widestText() const;

    // Pointer tracking for a drag that started on the edit's button.
    void selectRowAt(QPoint global);
    bool clientContains(QPoint global) const;

    // A left-button release over the list: true to accept its selection.
    std::function<void(bool accept)> OnRelease;

protected:
    bool event(QEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void wheelEvent(QWheelEvent *event) override;

private:
    void selectRowAtViewport(QPoint pos);

    int itemHeight_ = 13;
    platform::WheelNotches wheelNotches_;
};
