#pragma once

#include "data/datasource.h"

#include <QAbstractButton>
#include <QWidget>
#include <array>

namespace grid {

class TDBNavigator;

// The navigator's view of its data source: any change may move the cursor
// to or from either end.
class NavigatorDataLink : public data::DataLink {
public:
    explicit NavigatorDataLink(TDBNavigator &navigator) : navigator_(navigator) {}

protected:
    void activeChanged() override;
    void dataSetChanged() override;
    void dataSetScrolled(int distance) override;
    void editingChanged() override;

private:
    TDBNavigator &navigator_;
};

// One flat button of the navigator with its arrow glyph.
class NavigatorButton : public QAbstractButton {
    Q_OBJECT
public:
    enum Kind { First, Prior, Next, Last };
    NavigatorButton(Kind kind, QWidget *parent);
    Kind kind() const { return kind_; }
    QSize sizeHint() const override { return {56, 18}; }

protected:
    void paintEvent(QPaintEvent *event) override;
    void enterEvent(QEnterEvent *event) override;
    void leaveEvent(QEvent *event) override;

private:
    Kind kind_;
    bool hovered_ = false;
};

// Four flat buttons moving the shared current record of a data source to
// the first, prior, next and last record.
class TDBNavigator : public QWidget {
    Q_OBJECT
public:
    static constexpr int DefaultWidth = 224;
    static constexpr int DefaultHeight = 18;

    explicit TDBNavigator(QWidget *parent = nullptr);

    data::DataSource *dataSource() const { return link_.dataSource(); }
    void setDataSource(data::DataSource *source);
    NavigatorButton *button(NavigatorButton::Kind kind) const { return buttons_[kind]; }

    // Enables the buttons for where the cursor stands.
    void updateButtons();

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    void move(NavigatorButton::Kind kind);
    void placeButtons();

    NavigatorDataLink link_{*this};
    std::array<NavigatorButton *, 4> buttons_{};
};

} // namespace grid
