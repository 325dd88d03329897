#pragma once

#include <cstddef>
#include <iosfwd>
#include <string_view>
#include <vector>

// The lines of a stream, read in large blocks and handed out as views into the block, so a line
// is never copied. A line ends at LF or CR LF, or at the end of the input, but not where the
// input failed; a UTF-8 byte order mark before the first line is passed over. A line longer than
// kLongestLine comes out cut to that length, and the rest of it is passed over.
class BlockLines {
public:
    static constexpr std::size_t kLongestLine = 4096;

    explicit BlockLines(std::istream& input);

    // The next line, valid until the next call; false at the end of the input.
    bool Next(std::string_view& line);
    // Whether the line last handed out was cut.
    bool Cut() const { return cut_; }
    // Whether the input failed (rather than ended).
    bool Failed() const;

private:
    // Moves what is left to the front of the block and reads more behind it; false when nothing
    // more came.
    bool Fill();
    bool PassOverRestOfCutLine();

    std::istream& input_;
    std::vector<char> block_;
    std::size_t begin_ = 0;
    std::size_t end_ = 0;
    bool atStart_ = true;
    bool ended_ = false;
    bool cut_ = false;
    bool restToPassOver_ = false;
};
