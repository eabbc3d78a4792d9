// LineWriter: the output side of every script writer. A writer starts a line, appends its
// pieces straight into one buffer that is reused for every line, and ends it; the finished
// line goes to a sink together with the script line its item was read from. Containers raise
// the indentation around their children, so a child's line is built already indented: no line
// is copied to be indented, and writing any number of lines allocates nothing per line.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "common/Collection.h"
#include "common/Int16.h"

namespace tamrel {

class LineWriter {
 public:
  // Receives each finished line: its text (followed by the writer's line end, if it has one)
  // and the script line its item was read from, 0 for a line the writer makes up. The text is
  // valid only during the call.
  class Sink {
   public:
    virtual void Line(std::string_view text, std::int32_t source) = 0;

   protected:
    ~Sink() = default;
  };

  // `eol` is appended to every line before it goes to the sink (empty: bare lines).
  explicit LineWriter(Sink& sink, std::string_view eol = {}) : sink_(sink), eol_(eol) {}
  LineWriter(const LineWriter&) = delete;
  LineWriter& operator=(const LineWriter&) = delete;

  // Starts a line read from `source`, indented by the current depth, and returns the buffer
  // its text is appended to until End.
  std::string& Begin(std::int32_t source) {
    line_.assign(depth_, '\t');
    source_ = source;
    return line_;
  }
  // Hands the line started by Begin to the sink.
  void End();
  // A whole line at once.
  void Line(std::string_view text, std::int32_t source) {
    Begin(source).append(text);
    End();
  }

  // Lines written until the matching Outdent get one more tab in front.
  void Indent() noexcept { ++depth_; }
  void Outdent() noexcept { --depth_; }

  // Lines handed to the sink so far.
  std::int64_t Written() const noexcept { return written_; }

 private:
  Sink& sink_;
  std::string_view eol_;
  std::string line_;
  std::size_t depth_ = 0;
  std::int32_t source_ = 0;
  std::int64_t written_ = 0;
};

// Appends `value` in decimal, as std::to_string writes it, without a temporary string.
void AppendNumber(std::string& out, int value);

// The lines that write(LineWriter&) writes, as a line collection (bare lines, no line ends);
// with `sources`, also the script line of each (cleared first). What was written before write
// raises stays in the result when the exception leaves: `lines` is filled as lines come.
class LineCollector final : public LineWriter::Sink {
 public:
  explicit LineCollector(LineCollection& lines, std::vector<Int16>* sources = nullptr)
      : lines_(lines), sources_(sources) {
    if (sources_ != nullptr) sources_->clear();
  }
  void Line(std::string_view text, std::int32_t source) override {
    lines_.Add(std::string(text));
    if (sources_ != nullptr) sources_->push_back(Int16(source));
  }

 private:
  LineCollection& lines_;
  std::vector<Int16>* sources_;
};

// PrintLines of an item through its WriteLines: the same code gives both.
template <class Item>
LineCollection CollectLines(const Item& item) {
  LineCollection lines;
  LineCollector collector(lines);
  LineWriter out(collector);
  item.WriteLines(out);
  return lines;
}

}  // namespace tamrel
