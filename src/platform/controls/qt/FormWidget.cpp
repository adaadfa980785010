// SPDX-FileCopyrightText: 2026 Wobblix Clock developers <developers@wobblix.example>
// SPDX-License-Identifier: GPL-3.0-or-later

// The form on Qt: its window, and the form's own operations on it.

#include "platform/controls/qt/FormWidget.h"

#include "platform/controls/Focus.h"
#include "platform/controls/Form.h"
#include "platform/controls/PictureBox.h"
#include "platform/controls/qt/Native.h"
#include "platform/controls/qt/QtControls.h"
#include "platform/runtime/qt/QtText.h"

#include <QApplication>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QIcon>
#include <QMenuBar>
#include <QScreen>
#include <QStyle>

#include <utility>

namespace wobblix::platform {

namespace qt {

FormWidget::FormWidget() : m_client(new QWidget(this))
{
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowCloseButtonHint);
    m_client->setObjectName(QStringLiteral("clientArea"));
    m_client->setAutoFillBackground(true);
    // The body text: the desktop's own face at the small size the layout was drawn for.
    QFont body = QApplication::font();
    body.setPointSizeF(8);
    m_client->setFont(body);
    setCentralWidget(m_client);
}

void FormWidget::setTabIndex(QWidget* control, int index)
{
    m_tabOrder.insert(index, control);
    m_tabOrderApplied = false;
    if (isVisible())
        applyTabOrder();
}

void FormWidget::applyTabOrder()
{
    if (std::exchange(m_tabOrderApplied, true))
        return;
    // Only the controls that take the focus are chained; the others keep their places in Qt's chain, and
    // Tab passes them by.
    QWidget* previous = nullptr;
    for (QWidget* next : std::as_const(m_tabOrder)) {
        if (next == nullptr || next->focusPolicy() == Qt::NoFocus)
            continue;
        if (previous != nullptr)
            setTabOrder(previous, next);
        previous = next;
    }
}

QWidget* FormWidget::firstInTabOrder() const
{
    for (QWidget* control : m_tabOrder)
        if (control != nullptr && control->focusPolicy() != Qt::NoFocus && control->isEnabled() &&
            !control->isHidden())
            return control;
    return nullptr;
}

// Qt moves the focus inside a hidden window when an activation arrives after the window has gone (the
// desktop's answer to a menu that closed as the window hid): the control after the one the user left
// takes it, or the first of all when none had it. So the window keeps its own record while hidden, and
// sets it back before it is shown; the activation that follows the showing then finds it there.
void FormWidget::setVisible(bool visible)
{
    if (!visible && isVisible())
        m_focusAtHide = focusWidget();
    if (visible)
        applyTabOrder();
    QMainWindow::setVisible(visible);
    if (!visible)
        return;
    if (QWidget* control = m_focusAtHide != nullptr ? m_focusAtHide.data() : firstInTabOrder())
        control->setFocus(Qt::ActiveWindowFocusReason);
}

void FormWidget::closeEvent(QCloseEvent* event)
{
    event->accept();
    // Queued, so that a close request arriving before the message loop runs still ends the program:
    // quit() called outside a running loop would be lost.
    QMetaObject::invokeMethod(QCoreApplication::instance(), &QCoreApplication::quit, Qt::QueuedConnection);
}

QWidget* containerWidget(const Form& form, PictureBox* container)
{
    return container != nullptr ? &widget(*container) : &clientArea(form);
}

QMainWindow& window(const Form& form)
{
    return *form.native().window;
}

QWidget& clientArea(const Form& form)
{
    return *form.native().window->clientArea();
}

QWidget& widget(const Control& control)
{
    return *control.native().widget;
}

} // namespace qt

Form::Form(String name) : m_name(std::move(name)), m_native(std::make_unique<Native>())
{
    m_native->window = std::make_unique<qt::FormWidget>();
    m_native->window->setObjectName(qt::toQString(m_name));
}

// The controls go first, then the window that holds their widgets.
Form::~Form()
{
    m_objects.clear();
}

WindowHandle Form::hWnd() const
{
    return qt::toHandle(m_native->window.get());
}

void Form::startUp()
{
    Load();
    qt::FormWidget& window = *m_native->window;
    // The menu bar's height is known only now, with its items in place: fix the whole window around it.
    window.setFixedSize(window.sizeHint());
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        window.setGeometry(QStyle::alignedRect(Qt::LeftToRight, Qt::AlignCenter, window.size(),
                                               screen->availableGeometry()));
    window.show();
    SetFocus(hWnd());
}

void Form::Unload()
{
    m_native->window->close();
}

bool Form::Visible() const
{
    return m_native->window->isVisible();
}

void Form::setVisible(bool visible)
{
    m_native->window->setVisible(visible);
}

void Form::setCaption(const String& caption)
{
    m_native->window->setWindowTitle(qt::toQString(caption));
}

void Form::setIcon(StringView resource)
{
    m_native->window->setWindowIcon(
        QIcon(QStringLiteral(":/icons/") + qt::toQString(resource) + QStringLiteral(".ico")));
}

void Form::setClientSize(Long width, Long height)
{
    m_native->window->clientArea()->setFixedSize(qt::pixelsX(width), qt::pixelsY(height));
}

void Form::setBackColor(Long colour)
{
    QWidget* client = m_native->window->clientArea();
    QPalette colours = client->palette();
    colours.setColor(QPalette::Window, qt::toQColor(colour));
    client->setPalette(colours);
}

void Form::Later(std::function<void()> task)
{
    QMetaObject::invokeMethod(m_native->window.get(), std::move(task), Qt::QueuedConnection);
}

} // namespace wobblix::platform
