// Ids for the user's surfaces and where their file lives.
#include "ui/own_surfaces.h"

#include <QDir>
#include <QStandardPaths>

std::string OwnIdFor(const std::string& caption, const std::set<std::string>& taken)
{
    // NFD splits an accented letter into the letter and its accent, which is then dropped.
    const QString plain = QString::fromStdString(caption).normalized(QString::NormalizationForm_D).toLower();
    std::string id;
    for (QChar c : plain) {
        if ((c >= QLatin1Char('a') && c <= QLatin1Char('z')) || (c >= QLatin1Char('0') && c <= QLatin1Char('9')))
            id += c.toLatin1();
        else if (c.isSpace() || c == QLatin1Char('-') || c == QLatin1Char('_'))
            id += id.empty() || id.back() == '-' ? "" : "-";
    }
    while (!id.empty() && id.back() == '-')
        id.pop_back();
    if (id.size() > 30)
        id.resize(30);
    if (id.empty() || id.find_first_not_of("0123456789-") == std::string::npos)
        id = "propia" + (id.empty() ? "" : "-" + id);
    std::string unique = id;
    for (int n = 2; taken.count(unique) > 0; ++n)
        unique = id + "-" + std::to_string(n);
    return unique;
}

QString OwnSurfacesPath()
{
    return QDir(QStandardPaths::writableLocation(QStandardPaths::AppDataLocation)).filePath(QString::fromLatin1(kOwnSurfacesFile));
}
