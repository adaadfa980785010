// SPDX-FileCopyrightText: 2026 Wobblix Clock developers <developers@wobblix.example>
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QFrame>
#include <QIcon>

namespace wobblix::platform {

// A picture box: a panel with a sunken border and a background colour that holds other controls, and
// optionally a picture. Mouse movements over it are reported as MouseMove with the position in twips.
class PictureBox final : public QFrame {
    Q_OBJECT
public:
    PictureBox(const QColor& background, QWidget* parent);

    const QIcon& Picture() const { return m_picture; }
    void setPicture(const QIcon& picture) { m_picture = picture; }

    // Places a child at a position and size in twips inside the border, as the window describes it.
    void place(QWidget* child, int leftTwips, int topTwips, int widthTwips, int heightTwips) const;

Q_SIGNALS:
    // Button and Shift as the runtime numbers them (left 1, right 2, middle 4; Shift 1, Ctrl 2, Alt 4);
    // X and Y in twips.
    void MouseMove(qint16 button, qint16 shift, float x, float y);

protected:
    void mouseMoveEvent(QMouseEvent* event) override;

private:
    QIcon m_picture;
};

} // namespace wobblix::platform
