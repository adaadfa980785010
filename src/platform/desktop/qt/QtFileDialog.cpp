// SPDX-FileCopyrightText: 2026 Wobblix Clock developers <developers@wobblix.example>
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/desktop/qt/QtFileDialog.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QRegularExpression>

#include <algorithm>

namespace wobblix::platform {

namespace {

const char NUL = '\0';

// A record's text as bytes: none for a field never set.
QByteArray bytesOf(const std::optional<std::string>& text)
{
    return text ? QByteArray::fromStdString(*text) : QByteArray();
}

// A record's text up to its first NUL (the whole text when there is none), decoded.
QString upToNul(const std::optional<std::string>& field)
{
    const QByteArray text = bytesOf(field);
    const qsizetype end = text.indexOf(NUL);
    return QString::fromUtf8(end < 0 ? text : text.first(end));
}

// "Description" NUL "*.a;*.b" NUL ... NUL NUL as Qt's name filters, "Description (*.a *.b)".
QStringList nameFilters(const std::optional<std::string>& filter)
{
    const QStringList parts = QString::fromUtf8(bytesOf(filter)).split(QChar(NUL));
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size() && !parts.at(i).isEmpty(); i += 2) {
        QString patterns = parts.at(i + 1);
        patterns.replace(u';', u' ');
        filters.append(parts.at(i) + QStringLiteral(" (") + patterns + u')');
    }
    return filters;
}

// "c:\" stands for the root of the system drive, which is the root of the file tree where there are no
// drive letters.
QString localFolder(const QString& folder)
{
    static const QRegularExpression systemDriveRoot(QStringLiteral("^[cC]:[\\\\/]?$"));
    if (systemDriveRoot.match(folder).hasMatch())
        return QDir::rootPath();
    return QDir::fromNativeSeparators(folder);
}

// Writes text and its NUL at the start of the buffer, keeping the buffer's length and what stood behind.
void writeInto(std::optional<std::string>& buffer, const QByteArray& text)
{
    buffer.value().replace(0, static_cast<std::size_t>(text.size()) + 1, text.toStdString() + NUL);
}

// How many bytes a buffer of the record holds: its stated length, or less when the text is shorter.
qsizetype capacity(const std::optional<std::string>& buffer, quint32 statedLength)
{
    return std::min(static_cast<qsizetype>(buffer ? buffer->size() : 0),
                    static_cast<qsizetype>(statedLength));
}

// Qt's file dialog with what the open-file record asks for beyond it: the question before a name that
// does not exist is accepted, and the bound on the length of the returned path. What it accepts is
// chosen().
class OpenFileDialog final : public QFileDialog {
public:
    OpenFileDialog(QWidget* owner, bool createPrompt, qsizetype maxPathLength)
        : QFileDialog(owner), m_createPrompt(createPrompt), m_maxPathLength(maxPathLength)
    {
    }

    QString chosen() const { return m_chosen; }

    void accept() override
    {
        const QStringList files = selectedFiles();
        // A folder (".." included) is opened by Qt's own accept.
        if (files.size() == 1 && QFileInfo(files.first()).isDir()) {
            QFileDialog::accept();
            return;
        }
        if (files.size() != 1)
            return; // no name, or several: nothing to accept
        const QString path = QDir::toNativeSeparators(files.first());
        if (path.toUtf8().size() > m_maxPathLength) {
            reject(); // the path does not fit the record: the dialog fails
            return;
        }
        // A link counts as existing even when its target is gone: it is the link that is returned.
        const QFileInfo file(path);
        if (m_createPrompt && !file.exists() && !file.isSymLink() && !agreesToCreate(file))
            return;
        m_chosen = path;
        QFileDialog::accept();
    }

private:
    bool agreesToCreate(const QFileInfo& file)
    {
        const QString question = tr("%1\nThis file does not exist.\nDo you want to create it?");
        return QMessageBox::question(this, windowTitle(), question.arg(file.fileName()),
                                     QMessageBox::Yes | QMessageBox::No,
                                     QMessageBox::Yes) == QMessageBox::Yes;
    }

    const bool m_createPrompt;
    const qsizetype m_maxPathLength;
    QString m_chosen;
};

} // namespace

bool QtFileDialog::GetOpenFileName(OPENFILENAMEA& record)
{
    // Room for the path and its NUL.
    const qsizetype maxPathLength = capacity(record.lpstrFile, record.nMaxFile) - 1;
    OpenFileDialog dialog(reinterpret_cast<QWidget*>(record.hwndOwner),
                          (record.Flags & OFN_CREATEPROMPT) != 0, maxPathLength);
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setOption(QFileDialog::DontResolveSymlinks, (record.Flags & OFN_NODEREFERENCELINKS) != 0);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setWindowTitle(upToNul(record.lpstrTitle));

    const QStringList filters = nameFilters(record.lpstrFilter);
    dialog.setNameFilters(filters);
    if (record.nFilterIndex >= 1 && record.nFilterIndex <= filters.size())
        dialog.selectNameFilter(filters.at(record.nFilterIndex - 1));
    dialog.setDefaultSuffix(upToNul(record.lpstrDefExt));
    dialog.setDirectory(localFolder(upToNul(record.lpstrInitialDir)));
    const QString initialName = upToNul(record.lpstrFile).trimmed();
    if (!initialName.isEmpty())
        dialog.selectFile(initialName);

    // A nested event loop: timers and other events go on while the user chooses.
    if (dialog.exec() != QDialog::Accepted || dialog.chosen().isEmpty())
        return false;

    const QByteArray path = dialog.chosen().toUtf8();
    const QByteArray name = QFileInfo(dialog.chosen()).fileName().toUtf8();
    writeInto(record.lpstrFile, path);
    if (name.size() < capacity(record.lpstrFileTitle, record.nMaxFileTitle))
        writeInto(record.lpstrFileTitle, name);
    record.nFileOffset = static_cast<quint16>(path.size() - name.size());
    const qsizetype dot = name.lastIndexOf('.');
    record.nFileExtension = static_cast<quint16>(dot < 0 ? 0 : record.nFileOffset + dot + 1);
    record.nFilterIndex = static_cast<quint32>(filters.indexOf(dialog.selectedNameFilter()) + 1);
    return true;
}

} // namespace wobblix::platform
