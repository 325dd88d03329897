#pragma once

#include <QString>
#include <functional>
#include <string>

// The desktop's keyring, where the broker's password is kept under a key of the panel's. Both
// calls return at once and answer later on the UI thread; a desktop without a keyring answers
// with the reason, never with a question to the operator.
class PasswordKeyring {
public:
    virtual ~PasswordKeyring() = default;
    // The password, or "" and why there is none (no keyring, nothing stored under the key).
    virtual void ReadPassword(const QString& key,
                              std::function<void(std::string password, QString problem)> done) = 0;
    // Stores the password, or deletes it when empty; "" or why it could not.
    virtual void WritePassword(const QString& key, const std::string& password,
                               std::function<void(QString problem)> done) = 0;
};

// The key of the broker's password: the user at the broker, "user@host:port".
QString PasswordKey(const std::string& user, const std::string& host, int port);
