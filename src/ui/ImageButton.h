// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QLabel>
#include <QRect>

namespace tamsel {

// A button drawn from a picture: the picture area, a caption label centred over it, and a
// transparent mask label behind it that reaches beyond it on every side.
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

Q_SIGNALS:
    // The primary button was pressed and released over the same control: picture or caption.
    void clicked();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void press(QMouseEvent* event);
    void release(QWidget* control, QMouseEvent* event);

    QLabel* m_caption;
    QLabel* m_mask;
};

} // namespace tamsel
