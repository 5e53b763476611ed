// Windows-1252 <-> Unicode at the toolkit boundary (cp1252.h has the table).
#include "platform/cp1252.h"
#include "platform/file.h"
#include "platform/qt/qt_internal.h"

#include <QFile>

namespace platform::qt {

QString fromCp1252(const std::string& text)
{
    QString result;
    result.reserve(static_cast<qsizetype>(text.size()));
    for (char c : text)
        result.append(QChar(cp1252::unicodeOf(static_cast<unsigned char>(c))));
    return result;
}

std::string toCp1252(const QString& text)
{
    std::string result;
    result.reserve(static_cast<size_t>(text.size()));
    for (QChar c : text)
        result.push_back(cp1252::byteOf(c.unicode()));
    return result;
}

QString multiLine(const std::string& text)
{
    QString result = fromCp1252(text);
    result.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    return result;
}

QString fromPath(const std::string& path)
{
    return QFile::decodeName(QByteArray::fromStdString(path));
}

std::string toPath(const QString& path)
{
    return QFile::encodeName(path).toStdString();
}

} // namespace platform::qt

namespace platform {

std::string displayName(const std::string& path)
{
    return qt::toCp1252(qt::fromPath(path));
}

std::string utf8Of(const std::string& text)
{
    return qt::fromCp1252(text).toStdString();
}

} // namespace platform
