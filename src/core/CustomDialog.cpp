#include "CustomDialog.h"

#include "FormCustomDialog.h"
#include "MDIFormMain.h"
#include "ModuleGlobals.h"
#include "Seams.h"

#include <QDateTime>
#include <QEventLoop>
#include <QLocale>
#include <QPointer>

#include <array>
#include <cmath>

namespace kaldor {

namespace {

constexpr qsizetype PickSlots = 2501;

QPointer<FormCustomDialog>& openDialog()
{
    static QPointer<FormCustomDialog> dialog;
    return dialog;
}

// The entries from index 1 up to the first empty one.
QStringList pickEntries()
{
    QStringList entries;
    const QStringList& values = PickValues();
    for (qsizetype i = 1; i < values.size() && !values.at(i).isEmpty(); ++i)
        entries.append(values.at(i));
    return entries;
}

// Waits, processing the program's events, until the dialog has been answered or is gone.
void waitForAnswer(FormCustomDialog* dialog)
{
    if (DialogBusy() != 1)
        return;
    QEventLoop loop;
    QObject::connect(dialog, &FormCustomDialog::finished, &loop, &QEventLoop::quit);
    QObject::connect(dialog, &QObject::destroyed, &loop, [&loop] {
        if (DialogBusy() == 1) {
            DialogResult() = DialogCancelled;
            DialogBusy() = 0;
        }
        loop.quit();
    });
    loop.exec();
}

const QStringList& dateFormats()
{
    static const QStringList formats = [] {
        QStringList f;
        for (const char* s : {"yyyy-M-d", "yyyy/M/d", "M/d/yyyy", "d/M/yyyy", "M/d/yy", "d.M.yyyy",
                              "d.M.yy", "d-M-yyyy", "d MMM yyyy", "d-MMM-yyyy", "d-MMM-yy",
                              "MMM d, yyyy", "MMMM d, yyyy", "d MMMM yyyy", "d. MMMM yyyy"})
            f.append(QString::fromLatin1(s));
        return f;
    }();
    return formats;
}

const QStringList& timeFormats()
{
    static const QStringList formats = [] {
        QStringList f;
        for (const char* s : {"H:m", "H:m:s", "H:m:s.z", "h:m AP", "h:m:s AP", "h:mAP", "h AP",
                              "hAP", "h:m ap", "h:m:s ap", "h ap"})
            f.append(QString::fromLatin1(s));
        return f;
    }();
    return formats;
}

template <class Read> bool readsInLocales(Read read)
{
    for (const QLocale& locale : {QLocale::system(), QLocale::c()}) {
        for (const QLocale::FormatType type :
             {QLocale::ShortFormat, QLocale::LongFormat, QLocale::NarrowFormat}) {
            if (read(locale, type).isValid())
                return true;
        }
    }
    return false;
}

bool isPlainDate(const QString& text)
{
    for (const QString& f : dateFormats())
        if (QDate::fromString(text, f).isValid())
            return true;
    return readsInLocales(
        [&text](const QLocale& l, QLocale::FormatType t) { return l.toDate(text, t); });
}

bool isPlainTime(const QString& text)
{
    for (const QString& f : timeFormats())
        if (QTime::fromString(text, f).isValid())
            return true;
    return readsInLocales(
        [&text](const QLocale& l, QLocale::FormatType t) { return l.toTime(text, t); });
}

bool isDateWithTime(const QString& text)
{
    if (QDateTime::fromString(text, Qt::ISODate).isValid())
        return true;
    const qsizetype blank = text.indexOf(QLatin1Char(' '));
    // Try every split at a blank: date formats may hold blanks themselves.
    for (qsizetype at = blank; at > 0; at = text.indexOf(QLatin1Char(' '), at + 1)) {
        if (isPlainDate(text.left(at)) && isPlainTime(text.mid(at + 1).trimmed()))
            return true;
    }
    return readsInLocales(
        [&text](const QLocale& l, QLocale::FormatType t) { return l.toDateTime(text, t); });
}

} // namespace

QStringList& PickValues()
{
    static QStringList values(PickSlots);
    if (values.size() != PickSlots)
        values.resize(PickSlots);
    return values;
}

void ClearPickValues()
{
    QStringList& values = PickValues();
    for (QString& v : values)
        v.clear();
}

QString& DialogResult()
{
    static QString result;
    return result;
}

qint16& DialogBusy()
{
    static qint16 busy = 0;
    return busy;
}

qint16& DialogRequired()
{
    static qint16 required = 0;
    return required;
}

QString StripValidation(const QString& text)
{
    const qsizetype bang = text.indexOf(QLatin1Char('!'));
    return bang < 0 ? text : text.left(bang);
}

bool isDateText(const QString& text)
{
    const QString t = text.trimmed();
    return !t.isEmpty() && (isPlainDate(t) || isDateWithTime(t));
}

bool isDateOrTimeText(const QString& text)
{
    const QString t = text.trimmed();
    return !t.isEmpty() && (isPlainDate(t) || isPlainTime(t) || isDateWithTime(t));
}

bool isNumberText(const QString& text)
{
    const QString t = text.trimmed();
    if (t.isEmpty())
        return false;
    // Infinity and NaN read as doubles but are no numbers a user types.
    for (const QLocale& locale : {QLocale::system(), QLocale::c()}) {
        bool ok = false;
        const double value = locale.toDouble(t, &ok);
        if (ok && std::isfinite(value))
            return true;
    }
    return false;
}

QString CustomDialog(const QString& caption, const QString& question, qint16 required,
                     qint16 pickList, qint32 maxLength, qint16 formatCode,
                     const QString& defaultValue, qint32& colour, qint16 masked)
{
    // One dialog at a time: a second question while one waits is not asked.
    if (openDialog()) {
        openDialog()->raise();
        openDialog()->activateWindow();
        return DialogCancelled;
    }
    if (colour == 0)
        colour = 0xC0C0C0;
    auto* dialog = new FormCustomDialog(mainWindow());
    openDialog() = dialog;
    dialog->FormLoad();
    dialog->setColour(colour);
    dialog->setMasked(masked == 1);
    dialog->show();
    DialogBusy() = 1;
    dialog->setQuestion(caption, question, maxLength, formatCode);
    DialogRequired() = required;
    {
        Hourglass h;
        if (pickList == 1)
            dialog->showPickList(pickEntries(), defaultValue);
        else
            dialog->showFreeText(defaultValue);
    }
    QPointer<FormCustomDialog> guard(dialog);
    notifyPromptShown(dialog);
    if (guard)
        waitForAnswer(dialog);
    if (DialogBusy() == 1) { // the window went away unanswered
        DialogResult() = DialogCancelled;
        DialogBusy() = 0;
    }
    delete guard.data();
    return DialogResult();
}

} // namespace kaldor
