#pragma once

#include <memory>
#include <string>
#include <string_view>

namespace stepwell {

/// The line break a text uses.
enum class LineBreak { None, CrLf, Cr, Lf };

/// The bytes of a line break ("" for None).
std::string_view lineBreakText(LineBreak lineBreak);

/// Reads a file descriptor a line at a time through a large buffer.
///
/// A line ends at CR LF, a lone CR or a lone LF; the break is not part of the line. A final
/// break starts no further line, and a last line without one is still a line. A UTF-8
/// byte-order mark at the very start is taken off and remembered. The reader does not own
/// the descriptor.
class LineReader {
public:
    /// `name` is used in error messages.
    LineReader(int fd, std::string name);
    ~LineReader();
    LineReader(const LineReader&) = delete;
    LineReader& operator=(const LineReader&) = delete;

    /// Reads the next line into `line`, which stays valid until the next call. Returns false
    /// at the end of the input. Throws Error when reading fails.
    bool next(std::string_view& line);

    /// The break that ended the first line, once it has been read; None while no line with a
    /// break has been read.
    LineBreak firstBreak() const { return firstBreak_; }
    /// Whether the input began with a UTF-8 byte-order mark.
    bool hadByteOrderMark() const { return hadByteOrderMark_; }

private:
    bool fill();
    void takeByteOrderMark();
    void noteBreak(LineBreak lineBreak);

    int fd_;
    std::string name_;
    std::unique_ptr<char[]> buffer_;
    std::size_t begin_ = 0;
    std::size_t end_ = 0;
    bool atEnd_ = false;
    bool started_ = false;
    bool hadByteOrderMark_ = false;
    LineBreak firstBreak_ = LineBreak::None;
    std::string carry_; // a line that spans buffer refills
};

} // namespace stepwell
