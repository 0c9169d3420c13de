#pragma once

#include <QString>
#include <string>
#include <string_view>

class QLineEdit;
class QPlainTextEdit;

namespace gl {

// A text field's contents as the dialog filled it: the stored bytes and the text the field showed
// for them. Stored texts need not be UTF-8 and a field may cut a text longer than it allows, so a
// field the user left as it was must give back the stored bytes, not a conversion of its text.
class FilledText {
 public:
  FilledText() = default;

  // Puts `bytes` into the field and remembers what it shows.
  static FilledText Fill(QLineEdit& field, std::string_view bytes);
  static FilledText Fill(QPlainTextEdit& field, std::string_view bytes);

  // The bytes for the field's text now: the stored bytes while it shows what it was filled with,
  // else the text as UTF-8.
  std::string Take(const QString& current) const;

 private:
  FilledText(std::string_view bytes, QString shown) : bytes_(bytes), shown_(std::move(shown)) {}

  std::string bytes_;
  QString shown_;
};

}  // namespace gl
