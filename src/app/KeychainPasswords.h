#pragma once

#include "ui/broker/PasswordKeyring.h"

// The desktop's keyring through QtKeychain (the Secret Service, KWallet, or the Windows
// credential store). Never falls back to a file of its own.
class KeychainPasswords final : public PasswordKeyring {
public:
    void ReadPassword(const QString& key,
                      std::function<void(std::string password, QString problem)> done) override;
    void WritePassword(const QString& key, const std::string& password,
                       std::function<void(QString problem)> done) override;
};
