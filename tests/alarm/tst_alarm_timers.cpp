// SPDX-FileCopyrightText: 2026 Wobblix Clock developers <developers@wobblix.example>
// SPDX-License-Identifier: GPL-3.0-or-later

// The alarm and the chimes against a clock the test moves: which minutes sound, how often, and the rest
// after each sound.

#include "main_window/MainForm.h"
#include "platform/controls/CheckBox.h"
#include "platform/controls/qt/CheckBoxWidget.h"
#include "platform/controls/qt/QtControls.h"
#include "platform/controls/qt/TextBoxWidget.h"
#include "platform/controls/qt/TimerWidget.h"
#include "support/FakePlatform.h"

#include <QtTest>

using namespace wobblix;

namespace {

// Delivers the three timers' ticks in simulated time, as the window's real timers would: a timer that is
// on ticks every interval, and one switched on counts its full interval from that moment. Each tick sets
// the fake clock first. Timers due at the same moment tick in the order Timer1, Timer2, Timer3.
class SimulatedTicks {
public:
    SimulatedTicks(MainForm& form, test::FakeClock& clock, QTime start)
        : m_form(form), m_clock(clock), m_start(start)
    {
        for (int i = 0; i < 3; ++i) {
            m_timers[i] = platform::qt::window(form).findChild<platform::qt::TimerWidget*>(
                QStringLiteral("Timer%1").arg(i + 1));
            m_wasOn[i] = m_timers[i]->Enabled();
            m_due[i] = m_timers[i]->interval();
        }
        m_clock.time = start;
    }

    // Runs until the simulated time reaches end (same day).
    void runUntil(QTime end)
    {
        const qint64 endMs = m_start.msecsTo(end);
        for (;;) {
            int next = -1;
            for (int i = 0; i < 3; ++i)
                if (m_wasOn[i] && (next < 0 || m_due[i] < m_due[next]))
                    next = i;
            if (next < 0 || m_due[next] > endMs)
                break;
            m_now = m_due[next];
            m_clock.time = m_start.addMSecs(static_cast<int>(m_now));
            m_due[next] += m_timers[next]->interval();
            tick(next);
            for (int i = 0; i < 3; ++i) {
                const bool on = m_timers[i]->Enabled();
                if (on && !m_wasOn[i])
                    m_due[i] = m_now + m_timers[i]->interval();
                m_wasOn[i] = on;
            }
        }
        m_clock.time = end;
    }

    QTime now() const { return m_start.addMSecs(static_cast<int>(m_now)); }

private:
    void tick(int timer)
    {
        switch (timer) {
        case 0:
            m_form.Timer1_Timer();
            break;
        case 1:
            m_form.Timer2_Timer();
            break;
        default:
            m_form.Timer3_Timer();
            break;
        }
    }

    MainForm& m_form;
    test::FakeClock& m_clock;
    QTime m_start;
    qint64 m_now = 0;
    platform::qt::TimerWidget* m_timers[3] = {};
    bool m_wasOn[3] = {};
    qint64 m_due[3] = {};
};

// Records at what simulated time each sound was requested.
struct Heard {
    QString sound;
    QTime at;
};

} // namespace

class TestAlarmTimers : public QObject {
    Q_OBJECT

private:
    struct Window {
        test::FakePlatform world;
        MainForm form{world.platform()};

        Window()
        {
            text(QStringLiteral("txtSound"))->setText(QStringLiteral("alarm.wav"));
            text(QStringLiteral("txtChimesSoundFile"))->setText(QStringLiteral("chime.wav"));
        }
        platform::qt::TextBoxWidget* text(const QString& name)
        {
            return platform::qt::window(form).findChild<platform::qt::TextBoxWidget*>(name);
        }
        platform::qt::CheckBoxWidget* check(const QString& name)
        {
            return platform::qt::window(form).findChild<platform::qt::CheckBoxWidget*>(name);
        }
        platform::qt::TimerWidget* timer(int n)
        {
            return platform::qt::window(form).findChild<platform::qt::TimerWidget*>(
                QStringLiteral("Timer%1").arg(n));
        }
        void setAlarm(const QString& hour, const QString& minute, int on)
        {
            text(QStringLiteral("txtHour"))->setText(hour);
            text(QStringLiteral("txtMinute"))->setText(minute);
            check(QStringLiteral("chkAlarmClock"))->setValue(on);
        }
        void setChimes(int on) { check(QStringLiteral("chkChimes"))->setValue(on); }
        bool watching() { return timer(1)->Enabled() && timer(2)->Enabled() && !timer(3)->Enabled(); }
        bool resting() { return !timer(1)->Enabled() && !timer(2)->Enabled() && timer(3)->Enabled(); }
    };

    // Runs a window from start to end and returns what it played, with the simulated time of each sound.
    static QList<Heard> run(Window& window, QTime start, QTime end)
    {
        SimulatedTicks ticks(window.form, window.world.clock, start);
        QList<Heard> heard;
        qsizetype seen = 0;
        // Step a tick at a time so each sound can be stamped with the moment it was requested.
        for (QTime t = start; t < end;) {
            const QTime step = t.addMSecs(500);
            ticks.runUntil(step);
            for (; seen < window.world.sound.played.size(); ++seen)
                heard.append({window.world.sound.played.at(seen), ticks.now()});
            t = step;
        }
        return heard;
    }

private Q_SLOTS:
    void startsWatchingEveryThreeSeconds()
    {
        Window window;
        QCOMPARE(window.timer(1)->interval(), 3000);
        QCOMPARE(window.timer(2)->interval(), 3000);
        QCOMPARE(window.timer(3)->interval(), 60000);
        QVERIFY(window.watching());
        // A coarse timer may fire 5% early: a rest of 57 s would end inside the minute that sounded.
        for (int n = 1; n <= 3; ++n)
            QCOMPARE(window.timer(n)->timerType(), Qt::PreciseTimer);
    }

    // The fields are compared as texts with the clock's hour and minute written without leading zeros.
    void alarmMatchesFieldsAsText_data()
    {
        QTest::addColumn<QString>("hour");
        QTest::addColumn<QString>("minute");
        QTest::addColumn<QTime>("clock");
        QTest::addColumn<bool>("rings");
        QTest::newRow("7:00") << "7"
                              << "0" << QTime(7, 0, 1) << true;
        QTest::newRow("leading zero in hour") << "07"
                                              << "0" << QTime(7, 0, 1) << false;
        QTest::newRow("double zero minute") << "7"
                                            << "00" << QTime(7, 0, 1) << false;
        QTest::newRow("midnight") << "0"
                                  << "0" << QTime(0, 0, 1) << true;
        QTest::newRow("midnight as 00") << "00"
                                        << "0" << QTime(0, 0, 1) << false;
        QTest::newRow("five past") << "7"
                                   << "5" << QTime(7, 5, 30) << true;
        QTest::newRow("five past as 05") << "7"
                                         << "05" << QTime(7, 5, 30) << false;
        QTest::newRow("23:59") << "23"
                               << "59" << QTime(23, 59, 59) << true;
        QTest::newRow("other hour") << "8"
                                    << "0" << QTime(7, 0, 1) << false;
        QTest::newRow("other minute") << "7"
                                      << "1" << QTime(7, 0, 1) << false;
        QTest::newRow("empty hour") << ""
                                    << "0" << QTime(0, 0, 1) << false;
        QTest::newRow("empty minute") << "0"
                                      << "" << QTime(0, 0, 1) << false;
        QTest::newRow("letters") << "a"
                                 << "b" << QTime(7, 0, 1) << false;
        QTest::newRow("blank before digit") << " 7"
                                            << "0" << QTime(7, 0, 1) << false;
        QTest::newRow("sign") << "+7"
                              << "0" << QTime(7, 0, 1) << false;
    }
    void alarmMatchesFieldsAsText()
    {
        QFETCH(QString, hour);
        QFETCH(QString, minute);
        QFETCH(QTime, clock);
        QFETCH(bool, rings);
        Window window;
        window.setAlarm(hour, minute, platform::CheckBox::Checked);
        window.world.clock.time = clock;
        window.form.Timer1_Timer();
        QCOMPARE(window.world.sound.played, rings ? QStringList{QStringLiteral("alarm.wav")} : QStringList{});
        QCOMPARE(window.resting(), rings);
    }

    // Any switch value but 0 counts as on, grayed included; the two switches are independent.
    void switches_data()
    {
        QTest::addColumn<int>("alarm");
        QTest::addColumn<int>("chimes");
        QTest::addColumn<QStringList>("expected");
        const QString a = QStringLiteral("alarm.wav");
        const QString c = QStringLiteral("chime.wav");
        QTest::newRow("both off") << 0 << 0 << QStringList{};
        QTest::newRow("alarm on") << 1 << 0 << QStringList{a};
        QTest::newRow("alarm grayed") << 2 << 0 << QStringList{a};
        QTest::newRow("chimes on") << 0 << 1 << QStringList{c};
        QTest::newRow("chimes grayed") << 0 << 2 << QStringList{c};
    }
    void switches()
    {
        QFETCH(int, alarm);
        QFETCH(int, chimes);
        QFETCH(QStringList, expected);
        Window window;
        window.setAlarm(QStringLiteral("7"), QStringLiteral("30"), alarm);
        window.setChimes(chimes);
        // The alarm at 7:30, the chime at 8:00.
        const QList<Heard> heard = run(window, QTime(7, 29, 0), QTime(8, 1, 30));
        QStringList played;
        for (const Heard& h : heard)
            played.append(h.sound);
        QCOMPARE(played, expected);
    }

    // One chime at minute 0 of every hour, within a tick of the hour, and nothing at other minutes.
    void chimeOncePerHour()
    {
        Window window;
        window.setChimes(platform::CheckBox::Checked);
        const QList<Heard> heard = run(window, QTime(6, 58, 0), QTime(9, 2, 0));
        QCOMPARE(heard.size(), 3);
        for (int i = 0; i < 3; ++i)
            QCOMPARE(heard[i].at.hour(), 7 + i);
        for (const Heard& h : heard) {
            QCOMPARE(h.sound, QStringLiteral("chime.wav"));
            QCOMPARE(h.at.minute(), 0);
            QVERIFY2(h.at.second() <= 3, qPrintable(h.at.toString()));
        }
    }

    // Alarm and chime due in the same minute: whichever ticks first puts the other to rest too.
    void alarmAtTheHourWithChimesSoundsOnce()
    {
        Window window;
        window.setAlarm(QStringLiteral("8"), QStringLiteral("0"), platform::CheckBox::Checked);
        window.setChimes(platform::CheckBox::Checked);
        const QList<Heard> heard = run(window, QTime(7, 59, 30), QTime(8, 3, 0));
        QCOMPARE(heard.size(), 1);
        QCOMPARE(heard[0].at.minute(), 0);
    }

    void chimeThenAlarmInTheNextMinute()
    {
        Window window;
        window.setAlarm(QStringLiteral("8"), QStringLiteral("1"), platform::CheckBox::Checked);
        window.setChimes(platform::CheckBox::Checked);
        const QList<Heard> heard = run(window, QTime(7, 59, 30), QTime(8, 3, 0));
        QCOMPARE(heard.size(), 2);
        QCOMPARE(heard[0].sound, QStringLiteral("chime.wav"));
        QCOMPARE(heard[0].at.minute(), 0);
        QCOMPARE(heard[1].sound, QStringLiteral("alarm.wav"));
        QCOMPARE(heard[1].at.minute(), 1);
        QVERIFY2(heard[1].at.second() <= 3, qPrintable(heard[1].at.toString()));
    }

    // Switching the alarm on within its minute sounds it at the next tick.
    void alarmSwitchedOnLateInItsMinute()
    {
        Window window;
        window.setAlarm(QStringLiteral("8"), QStringLiteral("0"), platform::CheckBox::Unchecked);
        SimulatedTicks ticks(window.form, window.world.clock, QTime(7, 59, 0));
        ticks.runUntil(QTime(8, 0, 30));
        QVERIFY(window.world.sound.played.isEmpty());
        window.check(QStringLiteral("chkAlarmClock"))->setValue(platform::CheckBox::Checked);
        ticks.runUntil(QTime(8, 0, 33));
        QCOMPARE(window.world.sound.played, QStringList{QStringLiteral("alarm.wav")});
    }

    // After a sound the clock rests sixty seconds, then watches again in a later minute, so a matching
    // minute sounds once even though the watch ticks twenty times in it.
    void restsSixtySecondsThenWatchesAgain()
    {
        Window window;
        window.setAlarm(QStringLiteral("8"), QStringLiteral("0"), platform::CheckBox::Checked);
        SimulatedTicks ticks(window.form, window.world.clock, QTime(7, 59, 58));
        ticks.runUntil(QTime(8, 0, 2));
        QCOMPARE(window.world.sound.played.size(), 1);
        QVERIFY(window.resting());
        const QTime rang = ticks.now();
        ticks.runUntil(rang.addMSecs(59999));
        QVERIFY(window.resting());
        ticks.runUntil(rang.addSecs(60));
        QVERIFY(window.watching());
        QVERIFY(ticks.now().minute() > rang.minute());
        ticks.runUntil(QTime(8, 5, 0));
        QCOMPARE(window.world.sound.played.size(), 1);
    }

    // An empty sound field plays nothing, yet still puts the clock to rest.
    void emptySoundFieldStillRests()
    {
        Window window;
        window.text(QStringLiteral("txtSound"))->setText(QString());
        window.setAlarm(QStringLiteral("8"), QStringLiteral("0"), platform::CheckBox::Checked);
        window.world.clock.time = QTime(8, 0, 1);
        window.form.Timer1_Timer();
        QVERIFY(window.world.sound.played.isEmpty());
        QVERIFY(window.resting());
    }

    // The hour turning while a tick reads the clock must not pair the old hour with the new minute: an
    // alarm set for 7:00 has already sounded at 7:00 and must not sound again at 8:00:00.
    void hourTurningDuringATickNeverPairsOldHourWithNewMinute()
    {
        Window window;
        window.setAlarm(QStringLiteral("7"), QStringLiteral("0"), platform::CheckBox::Checked);
        window.world.clock.upcoming = {QTime(7, 59, 59, 999), QTime(8, 0, 0, 0)};
        window.form.Timer1_Timer();
        QVERIFY(window.world.sound.played.isEmpty());
        QVERIFY(window.watching());
    }
};

QTEST_MAIN(TestAlarmTimers)
#include "tst_alarm_timers.moc"
