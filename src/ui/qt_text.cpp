#include "ui/qt_text.h"

#include <QByteArray>
#include <QFile>

#include "core/utf8_text.h"

namespace gl {

QString ToQString(std::string_view bytes) {
  const auto size = static_cast<qsizetype>(bytes.size());
  return IsUtf8(bytes) ? QString::fromUtf8(bytes.data(), size)
                       : QString::fromLatin1(bytes.data(), size);
}

std::string ToBytes(const QString& text) {
  const QByteArray utf8 = text.toUtf8();
  return std::string(utf8.constData(), static_cast<std::size_t>(utf8.size()));
}

QString PathToQString(const std::filesystem::path& path) {
  return QFile::decodeName(QByteArray::fromStdString(path.string()));
}

std::filesystem::path QStringToPath(const QString& text) {
  return QFile::encodeName(text).toStdString();
}

}  // namespace gl
