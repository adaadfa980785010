// SPDX-FileCopyrightText: 2026 Wobblix Clock developers <developers@wobblix.example>
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QFrame>
#include <QIcon>

namespace wobblix::platform::qt {

// The picture box on Qt (platform/controls/PictureBox.h): a frame with a sunken border, filled with its
// background colour (its container's, until it is given one), holding a picture. A shown one takes the
// focus through Tab only, a hidden one never. Every mouse movement is reported as MouseMove in twips.
class PictureBoxWidget final : public QFrame {
    Q_OBJECT
public:
    explicit PictureBoxWidget(QWidget* parent);

    const QIcon& Picture() const { return m_picture; }
    void setPicture(const QIcon& picture) { m_picture = picture; }

    void setVisible(bool visible) override;

Q_SIGNALS:
    // Button and Shift as the runtime numbers them (left 1, right 2, middle 4; Shift 1, Ctrl 2, Alt 4);
    // X and Y in twips.
    void MouseMove(qint16 button, qint16 shift, float x, float y);

protected:
    void mouseMoveEvent(QMouseEvent* event) override;

private:
    QIcon m_picture;
};

} // namespace wobblix::platform::qt
