#pragma once

#include "ui/panel/OperatorInteraction.h"

#include <QString>
#include <QStringList>
#include <deque>

// Answers the program's questions from a script and records everything it was shown.
// A question with no scripted answer is answered No and recorded as unexpected.
class ScriptedOperator final : public OperatorInteraction {
public:
    void AnswerYes(int times = 1) { queue(true, times); }
    void AnswerNo(int times = 1) { queue(false, times); }
    void ChooseFile(const QString& path) { files_.push_back(path); }

    bool Ask(const QString& question) override {
        questions.append(question);
        return nextAnswer(question);
    }
    void Notify(const QString& notice) override { notices.append(notice); }
    bool Acknowledge(const QString& message) override {
        acknowledgements.append(message);
        return nextAnswer(message);
    }
    void ReportError(const QString& message) override { errors.append(message); }
    QString OpenFile(const QString& filter) override {
        fileFilters.append(filter);
        if (files_.empty()) {
            return {};
        }
        QString path = files_.front();
        files_.pop_front();
        return path;
    }

    QStringList questions;
    QStringList notices;
    QStringList acknowledgements;
    QStringList errors;
    QStringList fileFilters;
    QStringList unexpected;

private:
    void queue(bool answer, int times) {
        for (int i = 0; i < times; ++i) {
            answers_.push_back(answer);
        }
    }
    bool nextAnswer(const QString& text) {
        if (answers_.empty()) {
            unexpected.append(text);
            return false;
        }
        const bool answer = answers_.front();
        answers_.pop_front();
        return answer;
    }

    std::deque<bool> answers_;
    std::deque<QString> files_;
};
