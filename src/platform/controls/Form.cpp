// SPDX-FileCopyrightText: 2026 Wobblix Clock developers <developers@wobblix.example>
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/controls/Form.h"

#include "platform/controls/Focus.h"
#include "platform/controls/Twips.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QMenuBar>
#include <QScreen>
#include <QStyle>

namespace wobblix::platform {

Form::Form(QWidget* parent) : QMainWindow(parent), m_client(new QWidget(this))
{
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowCloseButtonHint);
    m_client->setObjectName(QStringLiteral("clientArea"));
    m_client->setAutoFillBackground(true);
    setCentralWidget(m_client);
}

void Form::setClientSize(int widthTwips, int heightTwips)
{
    m_client->setFixedSize(pixelsX(widthTwips), pixelsY(heightTwips));
}

void Form::setBackColor(const QColor& colour)
{
    QPalette colours = m_client->palette();
    colours.setColor(QPalette::Window, colour);
    m_client->setPalette(colours);
}

void Form::place(QWidget* control, int leftTwips, int topTwips, int widthTwips, int heightTwips) const
{
    control->setGeometry(pixelsX(leftTwips), pixelsY(topTwips), pixelsX(widthTwips), pixelsY(heightTwips));
}

void Form::startUp()
{
    Load();
    // The menu bar's height is known only now, with its items in place: fix the whole window around it.
    setFixedSize(sizeHint());
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        setGeometry(
            QStyle::alignedRect(Qt::LeftToRight, Qt::AlignCenter, size(), screen->availableGeometry()));
    show();
    SetFocus(this);
}

// Qt moves the focus inside a hidden window when an activation arrives after the window has gone (the
// desktop's answer to a menu that closed as the window hid): the control after the one the user left
// takes it, or the first of all when none had it. So the window keeps its own record while hidden, and
// sets it back before it is shown; the activation that follows the showing then finds it there.
void Form::setVisible(bool visible)
{
    if (!visible && isVisible())
        m_focusAtHide = focusWidget();
    QMainWindow::setVisible(visible);
    if (!visible)
        return;
    if (QWidget* control = m_focusAtHide != nullptr ? m_focusAtHide.data() : m_startFocus)
        control->setFocus(Qt::ActiveWindowFocusReason);
}

void Form::Unload()
{
    close();
}

void Form::closeEvent(QCloseEvent* event)
{
    event->accept();
    // Queued, so that a close request arriving before the message loop runs still ends the program:
    // quit() called outside a running loop would be lost.
    QMetaObject::invokeMethod(QCoreApplication::instance(), &QCoreApplication::quit, Qt::QueuedConnection);
}

} // namespace wobblix::platform
