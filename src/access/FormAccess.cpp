#include "FormAccess.h"

#include "AccessibleNames.h"
#include "ListBox.h"
#include "ModuleGlobals.h"
#include "OptionButton.h"
#include "ResourceStrings.h"
#include "SaveReport.h"
#include "Seams.h"
#include "SessionStatements.h"
#include "TabControl.h"
#include "WindowHelpers.h"
#include "WrappingLabel.h"

#include <QCalendarWidget>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QSignalBlocker>
#include <QTabWidget>
#include <QVBoxLayout>

namespace kaldor {

namespace {

const QString Source = QStringLiteral("FormAccess,");

QGroupBox* panel(const QString& name)
{
    return named<QGroupBox>(name);
}

QComboBox* timeCombo(const QString& name)
{
    auto* combo = named<QComboBox>(name);
    makeTypedCombo(combo);
    return combo;
}

// A stored date: "YYYY-MM-DD" or "YYYY/MM/DD", with blanks around it and possibly a time
// after it (a date and time column reads "2026-06-30 00:00:00.000"). Any other text is no
// date: a type mismatch, never a silent "no date".
QDate readDate(const QString& text)
{
    static const QRegularExpression form(QStringLiteral(
        R"(^\s*(\d{4})([-/])(\d{2})\2(\d{2})(?:[ T]+\d{1,2}:\d{2}(?::\d{2}(?:\.\d{1,9})?)?)?\s*$)"));
    const QRegularExpressionMatch m = form.match(text);
    const QDate date =
        m.hasMatch() ? QDate(m.captured(1).toInt(), m.captured(3).toInt(), m.captured(4).toInt())
                     : QDate();
    if (!date.isValid())
        throw db::DbException(db::DbError::typeMismatch());
    return date;
}

// A save that a check refuses: the check's message, and in the status bar the entry whose
// privileges were not saved.
void refuse(int message, const QString& entry)
{
    refuseSave(resString(914).arg(entry), {resString(message), resString(199), MsgIcon::Critical});
}

} // namespace

FormAccess::FormAccess()
    : m_label1(named<WrappingLabel>(QStringLiteral("Label1"), QStringLiteral("(Step 1 201)"))),
      m_frame1(panel(QStringLiteral("Frame1"))),
      m_optionGroups(named<OptionButton>(QStringLiteral("OptionGroups"), QStringLiteral("(119)"))),
      m_optionUserNames(
          named<OptionButton>(QStringLiteral("OptionUserNames"), QStringLiteral("(173)"))),
      m_label2(named<WrappingLabel>(QStringLiteral("Label2"), QStringLiteral("(Step 2 202)"))),
      m_frame2(panel(QStringLiteral("Frame2"))),
      m_listItems(named<ListBox>(QStringLiteral("ListItems"))),
      m_label3(named<WrappingLabel>(QStringLiteral("Label3"), QStringLiteral("(Step 3 203)"))),
      m_frame3(panel(QStringLiteral("Frame3"))),
      m_ssTabAccess(named<TabControl>(QStringLiteral("SSTabAccess"))),
      m_ssPanel1(panel(QStringLiteral("SSPanel1"))),
      m_label4(named<WrappingLabel>(QStringLiteral("Label4"), QStringLiteral("(Max 209)"))),
      m_textMaxSessions(named<QLineEdit>(QStringLiteral("TextMaxSessions"))),
      m_checkCloses(named<QCheckBox>(QStringLiteral("CheckCloses"), QStringLiteral("(382)"))),
      m_start{panel(QStringLiteral("SSPanel2")),
              named<QCheckBox>(QStringLiteral("CheckSessionStart"), QStringLiteral("(383)")),
              named<QCalendarWidget>(QStringLiteral("CalendarStart")),
              named<WrappingLabel>(QStringLiteral("Label6"), QStringLiteral("(505)"))},
      m_stop{panel(QStringLiteral("SSPanel3")),
             named<QCheckBox>(QStringLiteral("CheckSessionEnd"), QStringLiteral("(384)")),
             named<QCalendarWidget>(QStringLiteral("CalendarStop")),
             named<WrappingLabel>(QStringLiteral("Label8"), QStringLiteral("(506)"))},
      m_startTime{panel(QStringLiteral("SSPanel4")), timeCombo(QStringLiteral("ComboStartHour")),
                  timeCombo(QStringLiteral("ComboStartMinute"))},
      m_endTime{panel(QStringLiteral("SSPanel5")), timeCombo(QStringLiteral("ComboEndHour")),
                timeCombo(QStringLiteral("ComboEndMinute"))},
      m_commandSave(
          named<QPushButton>(QStringLiteral("CommandSave"), QStringLiteral("(Save 125)"))),
      m_commandExit(
          named<QPushButton>(QStringLiteral("CommandExit"), QStringLiteral("(Finished 381)")))
{
    m_optionGroups->setChecked(true);
    m_listItems->setSelectionMode(QAbstractItemView::SingleSelection);
    m_listItems->setUniformItemSizes(true);
    keepEntriesWhole(m_listItems);
    for (QCalendarWidget* calendar : {m_start.calendar, m_stop.calendar}) {
        calendar->setMaximumDate(QDate(9999, 12, 31));
        calendar->setAutoFillBackground(true);
        // The calendar keeps its room while hidden (the label behind it shows there), so
        // that every day, the weekday row and the navigation bar fit when it is shown.
        QSizePolicy policy = calendar->sizePolicy();
        policy.setRetainSizeWhenHidden(true);
        calendar->setSizePolicy(policy);
        calendar->hide();
    }
    m_label4->setBuddy(m_textMaxSessions);
    for (QWidget* control : std::initializer_list<QWidget*>{
             m_listItems, m_start.calendar, m_stop.calendar, m_startTime.hour, m_startTime.minute,
             m_endTime.hour, m_endTime.minute})
        nameAfterToolTip(control);
    layOut();
    connectEvents();
}

QWidget* FormAccess::generalTab()
{
    auto* grid = new QGridLayout(m_ssPanel1);
    grid->addWidget(m_label4, 0, 0);
    grid->addWidget(m_textMaxSessions, 0, 1);
    grid->addWidget(m_checkCloses, 1, 0, 1, 2);
    grid->setRowStretch(2, 1);
    auto* page = new QWidget;
    (new QVBoxLayout(page))->addWidget(m_ssPanel1);
    return page;
}

QWidget* FormAccess::datesTab()
{
    auto* page = new QWidget;
    auto* row = new QHBoxLayout(page);
    for (const DateBox& box : {m_start, m_stop}) {
        // The calendar lies over the label and covers it while it is shown.
        auto* grid = new QGridLayout(box.panel);
        grid->addWidget(box.check, 0, 0);
        box.label->setAlignment(Qt::AlignCenter);
        grid->addWidget(box.label, 1, 0);
        grid->addWidget(box.calendar, 1, 0);
        grid->setRowStretch(1, 1);
        row->addWidget(box.panel);
    }
    return page;
}

QWidget* FormAccess::timesTab()
{
    auto* page = new QWidget;
    auto* column = new QVBoxLayout(page);
    for (const TimeBoxes& time : {m_startTime, m_endTime}) {
        auto* boxes = new QHBoxLayout(time.panel);
        boxes->addWidget(time.hour);
        boxes->addWidget(new QLabel(QStringLiteral(":")));
        boxes->addWidget(time.minute);
        boxes->addStretch();
        column->addWidget(time.panel);
    }
    column->addStretch();
    return page;
}

void FormAccess::layOut()
{
    auto* options = new QHBoxLayout(m_frame1);
    options->addWidget(m_optionGroups);
    options->addWidget(m_optionUserNames);
    (new QVBoxLayout(m_frame2))->addWidget(m_listItems);

    m_ssTabAccess->addTab(generalTab(), QStringLiteral("(General 205)"));
    m_ssTabAccess->addTab(datesTab(), QStringLiteral("(Access Dates 206)"));
    m_ssTabAccess->addTab(timesTab(), QStringLiteral("(Access Times 208)"));
    (new QVBoxLayout(m_frame3))->addWidget(m_ssTabAccess);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_commandSave);
    buttons->addWidget(m_commandExit);

    auto* window = new QVBoxLayout(this);
    window->addWidget(m_label1);
    window->addWidget(m_frame1);
    window->addWidget(m_label2);
    window->addWidget(m_frame2, 1);
    window->addWidget(m_label3);
    window->addWidget(m_frame3, 2);
    window->addLayout(buttons);
}

void FormAccess::connectEvents()
{
    for (QRadioButton* option : {m_optionGroups, m_optionUserNames}) {
        connect(option, &QRadioButton::clicked, this, [this] { Option_Click(); });
        // The first click of a double click has chosen the option already.
        connectDoubleClick(option, this, [this, option] {
            option->setChecked(true);
            Option_Click();
        });
    }
    connectListClick(m_listItems, this, [this] { ListItems_Click(); });

    const auto editing = [this] { markEditing(); };
    connect(m_checkCloses, &QCheckBox::toggled, this, editing);
    for (const DateBox& box : {m_start, m_stop}) {
        connect(box.check, &QCheckBox::toggled, this, [this, box](bool checked) {
            box.calendar->setVisible(checked);
            markEditing();
        });
        connect(box.calendar, &QCalendarWidget::selectionChanged, this, editing);
        connect(box.calendar, &QCalendarWidget::clicked, this, editing);
    }
    // Only a choice from a time box's list is an edit; typed text is not.
    for (const TimeBoxes& time : {m_startTime, m_endTime}) {
        for (QComboBox* combo : {time.hour, time.minute})
            connectListChoice(combo, this, editing);
    }
    connect(m_textMaxSessions, &QLineEdit::textChanged, this, editing);
    connect(m_commandSave, &QPushButton::clicked, this, [this] { CommandSave_Click(); });
    connect(m_commandExit, &QPushButton::clicked, this, [this] { closeChildWindow(this); });
}

void FormAccess::FormLoad()
{
    setOuterSizeTwips(this, 7830, 8120);
    CenterForm(this);
    setWindowResIcon(this, 107);
    setWindowTitle(resString(199));
    setCaptions();
    for (const DateBox& box : {m_start, m_stop})
        box.calendar->setSelectedDate(currentDateTime().date());
    LoadCombos();
    LoadList();
    SelectFirst();
    setBrowsing();
}

void FormAccess::setCaptions()
{
    const auto caption = [](auto* control, int text, int tip) {
        control->setText(resString(text));
        if (tip)
            control->setToolTip(resString(tip));
    };
    caption(m_label1, 201, 0);
    m_frame1->setTitle(resString(200));
    caption(m_optionGroups, 119, 485);
    caption(m_optionUserNames, 173, 486);
    caption(m_label2, 202, 0);
    m_frame2->setTitle(resString(119));
    m_listItems->setToolTip(resString(487));
    caption(m_label3, 203, 0);
    m_frame3->setTitle(resString(204));
    m_ssTabAccess->setTabText(0, resString(205));
    m_ssTabAccess->setTabText(1, resString(206));
    m_ssTabAccess->setTabText(2, resString(208));
    m_ssPanel1->setTitle(resString(207));
    caption(m_label4, 209, 0);
    m_textMaxSessions->setToolTip(resString(488));
    caption(m_checkCloses, 382, 489);
    m_start.panel->setTitle(resString(210));
    caption(m_start.check, 383, 494);
    m_start.calendar->setToolTip(resString(496));
    caption(m_start.label, 505, 0);
    m_stop.panel->setTitle(resString(211));
    caption(m_stop.check, 384, 495);
    m_stop.calendar->setToolTip(resString(497));
    caption(m_stop.label, 506, 0);
    m_startTime.panel->setTitle(resString(212));
    m_startTime.hour->setToolTip(resString(490));
    m_startTime.minute->setToolTip(resString(491));
    m_endTime.panel->setTitle(resString(213));
    m_endTime.hour->setToolTip(resString(492));
    m_endTime.minute->setToolTip(resString(493));
    caption(m_commandSave, 125, 433);
    caption(m_commandExit, 381, 434);
}

void FormAccess::LoadCombos()
{
    QStringList hours;
    for (int hour = 0; hour <= 23; ++hour)
        hours.append(QString::number(hour));
    const QStringList minutes{QStringLiteral("00"), QStringLiteral("15"), QStringLiteral("30"),
                              QStringLiteral("45")};
    for (const TimeBoxes& time : {m_startTime, m_endTime}) {
        fillCombo(time.hour, hours);
        fillCombo(time.minute, minutes);
    }
}

void FormAccess::LoadList()
{
    if (m_optionGroups->isChecked())
        LoadGroupList();
    else
        LoadUserList();
    SelectFirst();
    GetConfig();
}

void FormAccess::LoadGroupList()
{
    QString sql;
    Trapped(Source + QStringLiteral("LoadGroupList"), sql, [&] {
        const Hourglass h;
        sql = QStringLiteral("select group_id from mt.qrb_zv_groupconfig");
        fillList(m_listItems, columnTexts(session().MainDatabase->query(sql), u"group_id"));
    });
}

void FormAccess::LoadUserList()
{
    QString sql;
    Trapped(Source + QStringLiteral("LoadUserList"), sql, [&] {
        const Hourglass h;
        ChooseSql(sql, QStringLiteral("select mtuser from mt.userlist;commit"),
                  QStringLiteral("select mtuser from mt.userlist;"));
        fillList(m_listItems, columnTexts(session().MainDatabase->query(sql), u"mtuser"));
    });
}

void FormAccess::SelectFirst()
{
    if (m_listItems->count() == 0 || m_listItems->item(0)->text().isEmpty())
        return;
    {
        const QSignalBlocker blocker(m_listItems);
        m_listItems->setCurrentRow(0);
    }
    ListItems_Click();
    GetConfig();
}

void FormAccess::Option_Click()
{
    m_frame2->setTitle(resString(m_optionGroups->isChecked() ? 119 : 173));
    LoadList();
}

void FormAccess::ListItems_Click()
{
    GetConfig();
    setBrowsing();
}

QString FormAccess::keyColumn() const
{
    return m_optionGroups->isChecked() ? QStringLiteral("group_id") : QStringLiteral("mtuser");
}

void FormAccess::GetConfig()
{
    for (const TimeBoxes& time : {m_startTime, m_endTime}) {
        setComboText(time.hour, QString());
        setComboText(time.minute, QString());
    }
    m_textMaxSessions->setText(QStringLiteral("0"));
    const QString entry = selectedText(m_listItems);
    if (!entry.isNull()) {
        QString sql;
        Trapped(Source + QStringLiteral("GetConfig"), sql, [&] {
            const Hourglass h;
            sql = QStringLiteral("select * from mt.qrb_zv_session_config where ") + keyColumn() +
                  QStringLiteral(" = '") + FixQuotes(entry) + QStringLiteral("';commit");
            const db::ResultSet row = session().MainDatabase->query(sql);
            if (row.isEmpty())
                showNoRow();
            else
                showRow(row);
        });
    }
    // What is shown for an entry does not count as an edit.
    setBrowsing();
}

void FormAccess::showNoRow()
{
    for (const TimeBoxes& time : {m_startTime, m_endTime}) {
        setComboText(time.hour, QString());
        setComboText(time.minute, QString());
    }
    for (const DateBox& box : {m_start, m_stop}) {
        box.calendar->hide();
        box.check->setChecked(false);
    }
    m_textMaxSessions->setText(QStringLiteral("0"));
    m_checkCloses->setChecked(false);
}

void FormAccess::showRow(const db::ResultSet& row)
{
    const auto showTime = [&row](const TimeBoxes& time, QStringView column) {
        const db::Value value = row.value(0, column);
        setComboText(time.hour, value ? ParseTime(*value, QStringLiteral("H")) : QString());
        setComboText(time.minute, value ? ParseTime(*value, QStringLiteral("M")) : QString());
    };
    showTime(m_startTime, u"start_time");
    showTime(m_endTime, u"end_time");

    const auto showDate = [&row](const DateBox& box, QStringView column) {
        const db::Value value = row.value(0, column);
        const QDate date = value ? readDate(*value) : QDate();
        if (date.isValid()) {
            box.calendar->setSelectedDate(date);
            box.check->setChecked(true);
            box.calendar->show();
            return;
        }
        box.calendar->hide();
        box.calendar->setSelectedDate(currentDateTime().date());
        box.check->setChecked(false);
    };
    showDate(m_start, u"start_date");
    showDate(m_stop, u"end_date");

    m_textMaxSessions->setText(row.text(0, u"max_open_sessions", QStringLiteral("0")));
    const db::Value closes = row.value(0, u"end_on_close");
    m_checkCloses->setChecked(!closes || upperCase(*closes) == u"Y");
}

bool FormAccess::timeReadable(const TimeBoxes& time, int message)
{
    const QString h = time.hour->currentText();
    const QString m = time.minute->currentText();
    if ((h.isEmpty() && m.isEmpty()) ||
        ParseTime(h + QLatin1Char(':') + m, QStringLiteral("H")) != QStringLiteral("INVALID"))
        return true;
    refuse(message, selectedText(m_listItems));
    m_ssTabAccess->setCurrentIndex(2);
    time.hour->setFocus();
    return false;
}

bool FormAccess::passesChecks()
{
    if (m_start.check->isChecked() && m_stop.check->isChecked() &&
        m_start.calendar->selectedDate() > m_stop.calendar->selectedDate()) {
        refuse(263, selectedText(m_listItems));
        return false;
    }
    if (!timeReadable(m_startTime, 251) || !timeReadable(m_endTime, 251))
        return false;
    const QString maximum = m_textMaxSessions->text();
    if (!maximum.isEmpty() && !IsNumeric(maximum)) {
        refuse(250, selectedText(m_listItems));
        m_ssTabAccess->setCurrentIndex(0);
        m_textMaxSessions->setFocus();
        return false;
    }
    if (maximum.isEmpty())
        m_textMaxSessions->setText(QStringLiteral("0"));
    return true;
}

SessionSave FormAccess::readSave() const
{
    const auto dateOf = [](const DateBox& box) {
        return box.check->isChecked() ? std::optional(box.calendar->selectedDate()) : std::nullopt;
    };
    const auto timeOf = [](const TimeBoxes& time) {
        return SessionTime{time.hour->currentText(), time.minute->currentText()};
    };
    return {m_optionGroups->isChecked(),
            selectedText(m_listItems),
            dateOf(m_start),
            dateOf(m_stop),
            timeOf(m_startTime),
            timeOf(m_endTime),
            m_textMaxSessions->text(),
            m_checkCloses->isChecked()};
}

void FormAccess::CommandSave_Click()
{
    if (!passesChecks())
        return;
    QString sql;
    Trapped(Source + QStringLiteral("CommandSave"), sql, [&] {
        const Hourglass h;
        executeAll(sql, SessionSaveSql(session().DatabaseType, readSave()));
    });
    setBrowsing();
    reportSaved(resString(914).arg(selectedText(m_listItems)));
}

void FormAccess::markEditing()
{
    lockList(m_listItems, true);
    m_commandSave->setEnabled(true);
}

void FormAccess::setBrowsing()
{
    lockList(m_listItems, false);
    m_commandSave->setEnabled(false);
}

} // namespace kaldor
