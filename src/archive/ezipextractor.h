#pragma once

#include <QString>

#include <stdexcept>
#include <string>

// The archive component's exception: a message id with an optional text or
// number argument. Its own message is the message table's text for the id
// with the argument, or the untranslated fallback form when the table has
// none.
class EZipExtractor : public std::runtime_error {
public:
    EZipExtractor(int id, bool display);
    EZipExtractor(int id, int number);          // sets the display flag
    EZipExtractor(int id, const QString &text); // sets the display flag

    const char *what() const noexcept override { return message_.c_str(); }
    bool display() const { return display_; }
    int id() const { return id_; }
    const QString &textArgument() const { return text_; }
    const QString &numberArgument() const { return number_; }
    // A table text with its "%s" and "%d" filled: the text argument first,
    // then the number argument's text; or else the number argument.
    QString formatted(QString tableText) const;

private:
    bool display_;
    int id_;
    QString text_;
    QString number_;
    std::string message_;
};
