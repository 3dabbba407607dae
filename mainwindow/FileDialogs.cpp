#include "mainwindow/FileDialogs.h"

#include <QApplication>
#include <QFileDialog>
#include <algorithm>
#include <utility>

namespace {

QString CaseInsensitivePattern(const QString &pattern)
{
    if (pattern == QLatin1String("*.*"))
        return QStringLiteral("*");
    QString result;
    for (const QChar c : pattern) {
        if ((c >= QLatin1Char('a') && c <= QLatin1Char('z'))
            || (c >= QLatin1Char('A') && c <= QLatin1Char('Z')))
            result += QLatin1Char('[') + c.toLower() + c.toUpper() + QLatin1Char(']');
        else
            result += c;
    }
    return result;
}

// The toolkit's own dialog behaves alike on every desktop: default suffix, filter index and
// the filters' descriptions as the pack writes them.
class TToolkitFileDialogs : public IMainFileDialogs
{
public:
    bool Execute(TFileDialogRequest &request) override
    {
        QFileDialog dialog(QApplication::activeWindow(), request.Title, request.Folder);
        dialog.setOptions(QFileDialog::DontUseNativeDialog | QFileDialog::HideNameFilterDetails);
        dialog.setAcceptMode(request.Save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
        dialog.setFileMode(request.Save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
        dialog.setNameFilters(request.Filters);
        if (!request.Filters.isEmpty()) {
            const qsizetype index
                    = std::clamp<qsizetype>(request.FilterIndex - 1, 0, request.Filters.size() - 1);
            dialog.selectNameFilter(request.Filters[index]);
        }
        dialog.setDefaultSuffix(request.DefaultSuffix);
        if (!request.FileName.isEmpty())
            dialog.selectFile(request.FileName);
        if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
            return false;
        request.FileName = dialog.selectedFiles().front();
        request.FilterIndex
                = static_cast<int>(request.Filters.indexOf(dialog.selectedNameFilter())) + 1;
        if (request.FilterIndex < 1)
            request.FilterIndex = 1;
        return true;
    }
};

IMainFileDialogs *InstalledDialogs = nullptr;

} // namespace

IMainFileDialogs *SetMainFileDialogs(IMainFileDialogs *dialogs)
{
    return std::exchange(InstalledDialogs, dialogs);
}

IMainFileDialogs &MainFileDialogs()
{
    static TToolkitFileDialogs toolkit;
    return InstalledDialogs ? *InstalledDialogs : toolkit;
}

QStringList ConvertFilter(const QString &packFilter)
{
    QStringList result;
    const QStringList parts = packFilter.split(QLatin1Char('|'));
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QStringList patterns;
        for (const QString &pattern : parts[i + 1].split(QLatin1Char(';'), Qt::SkipEmptyParts))
            patterns.append(CaseInsensitivePattern(pattern.trimmed()));
        if (patterns.isEmpty())
            continue;
        result.append(parts[i].trimmed() + QStringLiteral(" (") + patterns.join(QLatin1Char(' '))
                      + QLatin1Char(')'));
    }
    return result;
}
