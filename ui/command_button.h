#pragma once

#include <QFont>
#include <QPixmap>
#include <QPushButton>

#include "control.h"

namespace moxel::ui {

// A push button in the graphical style: its face is painted in BackColor, with an
// optional picture above the caption.
class CommandButton : public Control<QPushButton> {
    Q_OBJECT
    MOXEL_CONTROL_PROPERTIES
    Q_PROPERTY(QString Caption READ Caption WRITE setCaption)
    Q_PROPERTY(quint32 BackColor READ BackColor WRITE setBackColor)

public:
    CommandButton(QWidget* parent, const char* name, const TwipsRect& rect, bool visible,
                  const QString& caption, quint32 backColor, const QPixmap& picture = {});

    QString Caption() const { return text(); }
    void setCaption(const QString& caption) { setText(caption); }
    quint32 BackColor() const { return backColor_; }
    void setBackColor(quint32 color);

    // Alt and the caption's marked letter: the button takes the focus and is
    // clicked at once, as the mouse clicks it, not after Qt's 100 ms animation
    // (in which a running game's clock would count on).
    void clickByAccessKey();

signals:
    void MouseMove();

protected:
    bool event(QEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    // All a drawn face depends on.
    struct Face {
        QSize size;
        qreal ratio = 0;
        QString text;
        QFont font;
        qint64 palette = 0;
        quint32 backColor = 0;
        bool down = false;
        bool focus = false;
        bool enabled = false;
        bool operator==(const Face&) const = default;
    };
    Face currentFace() const;
    void drawFace(QPainter& painter);

    quint32 backColor_;
    QPixmap picture_;
    Face face_;
    QPixmap drawnFace_;
};

}  // namespace moxel::ui
