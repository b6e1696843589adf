#pragma once

#include <QFont>
#include <QHash>
#include <QLineEdit>
#include <QPixmap>

#include "control.h"

namespace moxel::ui {

// A single-line text box.
class TextBox : public Control<QLineEdit> {
    Q_OBJECT
    MOXEL_CONTROL_PROPERTIES
    Q_PROPERTY(QString Text READ Text WRITE setTextValue)

public:
    TextBox(QWidget* parent, const char* name, const TwipsRect& rect, bool visible,
            const QString& text, const QFont& font);

    QString Text() const { return text_; }
    void setTextValue(const QString& text);

protected:
    void present() override;
    void paintEvent(QPaintEvent* event) override;

private:
    // What a drawn box looks like besides its text.
    struct Look {
        QSize size;
        qreal ratio = 0;
        qint64 palette = 0;
        QFont font;
        bool enabled = false;
        bool operator==(const Look&) const = default;
    };
    Look currentLook() const;
    // Draws the box with its current text, off screen, unless that is kept already.
    void keepDrawnBox();

    QString text_;
    // The clock box cycles through a hundred texts, each drawn once per look.
    Look drawnLook_;
    QHash<QString, QPixmap> drawnBoxes_;
    bool drawingBox_ = false;
};

}  // namespace moxel::ui
