// SPDX-FileCopyrightText: 2026 Wobblix Clock developers <developers@wobblix.example>
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/controls/Label.h"

#include "platform/controls/qt/Native.h"
#include "platform/controls/qt/QtControls.h"
#include "platform/runtime/qt/QtText.h"

#include <QEvent>
#include <QFontMetrics>
#include <QHash>
#include <QLabel>

namespace wobblix::platform {

namespace {

// Narrows a label's face just enough for its caption to fit the label's width: the widest stretch, in
// steps of 2%, at which it fits. Every stretch loads a face of its own, which is what start-up waits on,
// so the search starts where the caption's full width says it will end (faces narrow about in proportion)
// and looks at the next stretch up and down from there, not at every stretch from 100% down; labels in
// the same face share each stretch, which is measured once for all of them.
class CaptionFitter final : public QObject {
public:
    explicit CaptionFitter(QLabel* label) : QObject(label), m_label(label), m_full(label->font())
    {
        label->installEventFilter(this);
        fit();
    }

    void fit()
    {
        constexpr int Narrowest = 50; // as narrow as the face goes
        const QString text = m_label->text();
        const int room = m_label->contentsRect().width();
        if (room == m_room && text == m_text && m_label->font() == m_fitted)
            return; // fitted as it stands
        m_room = room;
        m_text = text;
        const int wanted = widthAt(100, text);
        int stretch = wanted <= room ? 100 : qBound(Narrowest, room * 100 / qMax(wanted, 1) / 2 * 2, 98);
        while (stretch > Narrowest && widthAt(stretch, text) > room)
            stretch -= 2;
        while (stretch < 100 && widthAt(stretch + 2, text) <= room)
            stretch += 2;
        m_fitted = face(stretch);
        m_fitting = true;
        m_label->setFont(m_fitted);
        m_fitting = false;
    }

protected:
    // The label's own font, caption or size changed: fit again, from the font it was given.
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (m_fitting)
            return false;
        if (event->type() == QEvent::FontChange)
            m_full = m_label->font();
        if (event->type() == QEvent::FontChange || event->type() == QEvent::Resize)
            fit();
        return false;
    }

private:
    QFont face(int stretch) const
    {
        if (stretch == 100)
            return m_full;
        const QString key = m_full.key() + QLatin1Char('/') + QString::number(stretch);
        auto found = faces().constFind(key);
        if (found == faces().constEnd()) {
            QFont font = m_full;
            font.setStretch(stretch);
            found = faces().insert(key, font);
        }
        return *found;
    }
    int widthAt(int stretch, const QString& text) const
    {
        return QFontMetrics(face(stretch)).horizontalAdvance(text);
    }

    // The narrowed faces of the whole program, by face and stretch.
    static QHash<QString, QFont>& faces()
    {
        static QHash<QString, QFont> narrowed;
        return narrowed;
    }

    QLabel* m_label;
    QFont m_full;   // the face the label was given
    QFont m_fitted; // the face it was fitted to, for the room and the text it was fitted for
    int m_room = -1;
    QString m_text;
    bool m_fitting = false;
};

QLabel& labelOf(const Label& label)
{
    return static_cast<QLabel&>(qt::widget(label));
}

} // namespace

Label::Label(Form& form, PictureBox* container, String name, const Description& description)
    : Control(form, container, std::move(name), description,
              std::make_unique<Native>(Native{new QLabel(qt::containerWidget(form, container))}))
{
    // Beneath every other control, as labels always have lain.
    labelOf(*this).lower();
    labelOf(*this).setText(qt::toQString(description.caption));
}

void Label::setShrinkToFit(bool shrink)
{
    QLabel& label = labelOf(*this);
    auto* fitter = label.findChild<CaptionFitter*>(QString(), Qt::FindDirectChildrenOnly);
    if (shrink && fitter == nullptr)
        new CaptionFitter(&label);
    else if (!shrink && fitter != nullptr)
        delete fitter;
}

void Label::setBuddy(Control& control)
{
    labelOf(*this).setBuddy(&qt::widget(control));
}

} // namespace wobblix::platform
