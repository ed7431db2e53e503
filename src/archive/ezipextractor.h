#pragma once

#include <QString>

#include <stdexcept>

// The archive component's exception: a message id with an optional text or
// number argument. Its own message is the untranslated fallback form.
class EZipExtractor : public std::runtime_error {
public:
    EZipExtractor(int id, bool display);
    EZipExtractor(int id, int number);          // sets the display flag
    EZipExtractor(int id, const QString &text); // sets the display flag

    bool display() const { return display_; }
    int id() const { return id_; }
    const QString &textArgument() const { return text_; }
    const QString &numberArgument() const { return number_; }

private:
    bool display_;
    int id_;
    QString text_;
    QString number_;
};
