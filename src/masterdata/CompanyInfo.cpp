#include "masterdata/CompanyInfo.h"

#include "dataset/Dataset.h"

#include <QDir>
#include <QFileInfo>
#include <QImageReader>

namespace masterdata {

QStringList companyFillValues(dataset::Dataset& company) {
    QStringList values;
    if (!company.isOpen() || company.isEmpty())
        return values;
    const dataset::Record row = company.record(0);
    for (const QString& column : kCompanyFillColumns) {
        if (row.isNull(column))
            break;
        values << row.text(column);
    }
    return values;
}

QString backupFolderText(const QString& folder) {
    if (folder.endsWith(QLatin1Char('\\')) || folder.endsWith(QLatin1Char('/')))
        return folder;
    const bool windowsPath = folder.contains(QLatin1Char('\\')) && !folder.contains(QLatin1Char('/'));
    return folder + (windowsPath ? QLatin1Char('\\') : QLatin1Char('/'));
}

bool isLoadablePicture(const QString& file) {
    if (!QFileInfo(file).isFile())
        return false;
    return !QImageReader(file).read().isNull();
}

Background chooseBackground(const QString& programDir, const QString& companyPicture) {
    const QDir dir(programDir);
    if (!companyPicture.isEmpty()) {
        const QString file = dir.filePath(companyPicture);
        if (isLoadablePicture(file))
            return {file, true, true};
    }
    const QString fallback = dir.filePath(kFallbackBackground);
    return {fallback, false, isLoadablePicture(fallback)};
}

} // namespace masterdata
