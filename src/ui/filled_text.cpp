#include "ui/filled_text.h"

#include <QLineEdit>
#include <QPlainTextEdit>

#include "ui/qt_text.h"

namespace gl {

FilledText FilledText::Fill(QLineEdit& field, std::string_view bytes) {
  field.setText(ToQString(bytes));
  return FilledText(bytes, field.text());
}

FilledText FilledText::Fill(QPlainTextEdit& field, std::string_view bytes) {
  field.setPlainText(ToQString(bytes));
  return FilledText(bytes, field.toPlainText());
}

std::string FilledText::Take(const QString& current) const {
  return current == shown_ ? bytes_ : ToBytes(current);
}

}  // namespace gl
