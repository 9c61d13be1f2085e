#pragma once

#include <QString>
#include <exception>

// The one failure type that commands catch and report to the user.
// `description()` is the readable Japanese text the message box shows.
class AppError : public std::exception {
public:
    explicit AppError(QString description)
        : m_description(std::move(description)), m_utf8(m_description.toUtf8()) {}

    const QString &description() const noexcept { return m_description; }
    const char *what() const noexcept override { return m_utf8.constData(); }

private:
    QString m_description;
    QByteArray m_utf8;
};
