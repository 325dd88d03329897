#include "Question.h"

#include "FrameCharacters.h"
#include "FrameLayer.h"
#include "MessageCatalogue.h"
#include "PayloadNumbers.h"
#include "RequestBuilders.h"

namespace protocol {

namespace {

constexpr std::size_t kOutputDigits = 2;
constexpr std::size_t kRecordDigits = 4;

std::uint32_t PauseAfterRequest(char letter) {
    switch (letter) {
    case 'A':
        return 20;
    case 'S':
    case 'C':
    case 'Z':
    case 'F':
    case 'R':
        return 100;
    case 'X':
    case 'f':
        return 200;
    case 'T':
        return 5000;
    default:
        return 0;
    }
}

Question NumberedPoll(std::string frame, char letter, int number, std::size_t digits) {
    return {std::move(frame), {false, letter, number, digits}};
}

} // namespace

bool Expectation::Matches(std::string_view payload) const {
    if (anyCluster) {
        return true;
    }
    if (payload.empty() || payload.front() != letter) {
        return false;
    }
    // Strict: a number that does not read is no number of ours.
    return !number || PayloadField::Decimal(payload, 2, numberWidth) == number;
}

Question Question::Poll(char letter) {
    return {std::string{kEot, letter, kEnq}, {false, letter, std::nullopt, 0}};
}

Question Question::AlarmOutput(int output) {
    Question question = NumberedPoll(AlarmOutputPoll(output), 'A', output, kOutputDigits);
    question.inRange = &AlarmOutputReply::InRange;
    return question;
}

Question Question::LoggedRecord(int record) {
    Question question = NumberedPoll(LoggedRecordPoll(record), 'D', record, kRecordDigits);
    question.inRange = &LoggedRecordReply::Readable;
    return question;
}

std::optional<Question> Question::Request(std::string_view payload) {
    if (payload.size() > FrameLayer::kMaxPayload) {
        return std::nullopt;
    }
    Question request{RequestFrame(payload), {true, 0, std::nullopt, 0}};
    request.pauseMs = payload.empty() ? 0 : PauseAfterRequest(payload.front());
    return request;
}

} // namespace protocol
