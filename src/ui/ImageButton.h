// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QLabel>
#include <QPixmap>
#include <QRect>
#include <array>

namespace tamsel {

// A button drawn from pictures: the picture area, a caption label centred over it, and a
// transparent mask label behind it that reaches beyond it on every side, so that the pointer
// crosses the mask when it leaves the button. Pictures: 1 normal, 2 hover, 3 pressed.
class ImageButton : public QLabel {
    Q_OBJECT
public:
    struct Layout {
        QRect picture; // twips, in the parent
        QRect caption; // twips, in the picture
        QRect mask;    // twips, in the parent
    };

    ImageButton(QWidget* parent, const QString& name, const QString& caption, const Layout& layout);

    QLabel* captionLabel() const { return m_caption; }
    QLabel* maskLabel() const { return m_mask; }
    // The picture shown: 1, 2 or 3.
    int image() const { return m_image; }

    // The mouse gestures, with points in the receiving control's coordinates.
    void PressImageButton();
    void HoverImageButton(QPoint point);
    void ReleaseImageButton(QPoint point);
    void ReleaseImageButtonCaption(QPoint point);
    void LeaveImageButton();

Q_SIGNALS:
    // The primary button was pressed and released over the same control: picture or caption.
    void clicked();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void showImage(int image);

    QLabel* m_caption;
    QLabel* m_mask;
    std::array<QPixmap, 3> m_images;
    int m_image = 1;
};

} // namespace tamsel
