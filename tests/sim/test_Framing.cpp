#include "protocol/FrameLayer.h"
#include "sim/Framing.h"

#include <gtest/gtest.h>
#include <vector>

using sim::DecodedFrame;
using sim::FrameDecoder;

namespace {

std::vector<DecodedFrame> DecodeAll(const std::string& bytes) {
    FrameDecoder decoder;
    std::vector<DecodedFrame> frames;
    for (const char byte : bytes) {
        if (auto frame = decoder.Feed(byte)) {
            frames.push_back(*frame);
        }
    }
    return frames;
}

} // namespace

TEST(SimFraming, BlockCheckIsTheXorOfPayloadAndEtx) {
    EXPECT_EQ(sim::BlockCheck("F"), 0x45);
    EXPECT_EQ(sim::FrameReply("F"), std::string("\x02"
                                                "F\x03\x45"));
    EXPECT_EQ(sim::BlockCheck("Z"), 0x59);
    EXPECT_EQ(sim::BlockCheck("12"), 0x00); // a zero check byte is still sent
    EXPECT_EQ(sim::FrameReply("12"), std::string("\x02"
                                                 "12\x03\x00",
                                                 5));
}

TEST(SimFraming, DecodesThePollAndRequestBytesThePanelSends) {
    struct Case {
        std::string bytes;
        DecodedFrame::Kind kind;
        std::string body;
    };
    const std::vector<Case> cases = {
        {"\x04\x53\x05", DecodedFrame::Kind::Poll, "S"},
        {"\x04\x33\x05", DecodedFrame::Kind::Poll, "3"},
        {"\x04\x41\x30\x32\x05", DecodedFrame::Kind::Poll, "A02"},
        {"\x04"
         "D0007\x05",
         DecodedFrame::Kind::Poll, "D0007"},
        {"\x04\x02\x5A\x03\x59", DecodedFrame::Kind::Request, "Z"},
        {protocol::RequestFrame("S26120714050911020E10"), DecodedFrame::Kind::Request,
         "S26120714050911020E10"},
        // A check byte that happens to be EOT or NUL belongs to the frame.
        {protocol::RequestFrame("\x07"), DecodedFrame::Kind::Request, "\x07"},
        {protocol::RequestFrame("12"), DecodedFrame::Kind::Request, "12"},
    };
    for (const Case& test : cases) {
        const auto frames = DecodeAll(test.bytes);
        ASSERT_EQ(frames.size(), 1u) << test.body;
        EXPECT_EQ(frames[0].kind, test.kind);
        EXPECT_EQ(frames[0].body, test.body);
    }
}

TEST(SimFraming, BadFramesAreReportedOrSkippedAndTheNextFrameStillDecodes) {
    // No ENQ: the next EOT starts afresh.
    auto frames = DecodeAll("\x04S\x04T\x05");
    ASSERT_EQ(frames.size(), 1u);
    EXPECT_EQ(frames[0].body, "T");

    // Wrong BCC.
    frames = DecodeAll(std::string("\x04\x02"
                                   "F\x03\x46") +
                       "\x04S\x05");
    ASSERT_EQ(frames.size(), 2u);
    EXPECT_EQ(frames[0].kind, DecodedFrame::Kind::BadCheck);
    EXPECT_EQ(frames[1].body, "S");

    // Over-long payload and over-long poll.
    frames = DecodeAll("\x04\x02" + std::string(509, 'x') + "\x03\x00" +
                       "\x04"
                       "ABCDEFG\x05" +
                       "\x04S\x05");
    ASSERT_EQ(frames.size(), 3u);
    EXPECT_EQ(frames[0].kind, DecodedFrame::Kind::TooLong);
    EXPECT_EQ(frames[1].kind, DecodedFrame::Kind::TooLong);
    EXPECT_EQ(frames[2].body, "S");

    // The longest payload the panel can send still passes.
    frames = DecodeAll(protocol::RequestFrame(std::string(508, 'X')));
    ASSERT_EQ(frames.size(), 1u);
    EXPECT_EQ(frames[0].kind, DecodedFrame::Kind::Request);

    // Noise outside frames, an empty poll, and a frame cut short and forgotten.
    FrameDecoder decoder;
    for (const char byte : std::string("\xff\x05\x06\x04\x05\x04\x02"
                                       "ABC")) {
        EXPECT_FALSE(decoder.Feed(byte).has_value());
    }
    EXPECT_TRUE(decoder.InsideFrame());
    decoder.Reset();
    EXPECT_FALSE(decoder.InsideFrame());
    EXPECT_FALSE(decoder.Feed('\x03').has_value());
}
