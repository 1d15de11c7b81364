// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QLabel>
#include <QPixmap>
#include <QRect>
#include <array>

namespace tamsel {

// A button drawn from pictures: the picture area, a caption label centred over it, and a
// transparent mask label behind it that reaches beyond it on every side, so that the pointer
// crosses the mask when it leaves the button. The pictures: normal, hover, pressed.
class ImageButton : public QLabel {
    Q_OBJECT
public:
    struct Layout {
        QRect picture; // twips, in the parent
        QRect caption; // twips, in the picture
        QRect mask;    // twips, in the parent
    };

    ImageButton(QWidget* parent, const QString& name, const QString& caption, const Layout& layout);

    enum class Picture { Normal, Hover, Pressed };
    Picture picture() const { return m_picture; }

    // The mouse gestures, with points in the receiving control's coordinates.
    void press();
    void hover(QPoint point);
    void release(QPoint point);
    void releaseOnCaption(QPoint point);
    void leave();

    // Runs the button's command, as a click does: from the keyboard or assistive technology.
    void activate() { Q_EMIT clicked(); }

Q_SIGNALS:
    // The primary button was pressed and released over the same control: picture or caption;
    // or Space, Enter or Return while it has the focus.
    void clicked();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void showPicture(Picture picture);

    QLabel* m_caption;
    QLabel* m_mask;
    std::array<QPixmap, 3> m_images;
    Picture m_picture = Picture::Normal;
};

} // namespace tamsel
