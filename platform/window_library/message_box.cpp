#include "platform/window_library/message_box.hpp"

#include <algorithm>
#include <string>
#include <vector>

namespace corvane {
namespace {

// Code page 437 double-line frame.
constexpr std::uint8_t kTopLeft = 0xC9;
constexpr std::uint8_t kTopRight = 0xBB;
constexpr std::uint8_t kBottomLeft = 0xC8;
constexpr std::uint8_t kBottomRight = 0xBC;
constexpr std::uint8_t kHorizontal = 0xCD;
constexpr std::uint8_t kVertical = 0xBA;

constexpr std::uint8_t kBoxAttribute = 0x70;     // black on light grey
constexpr std::uint8_t kButtonAttribute = 0x1F;  // bright white on blue
constexpr std::string_view kButton = "[ OK ]";
// Blank columns between the frame and the text on either side.
constexpr int kPadding = 2;

constexpr std::uint8_t kEnter = 0x0D;
constexpr std::uint8_t kSpace = 0x20;
constexpr std::uint16_t kEscScanCode = 0x01;

struct Box {
  int left = 0;
  int top = 0;
  int buttonColumn = 0;  // within the box
  std::vector<std::vector<Cell>> rows;
  int Width() const { return rows.empty() ? 0 : static_cast<int>(rows.front().size()); }
  int Height() const { return static_cast<int>(rows.size()); }
};

// A row of the frame, `width` cells of at least 2: the two edges and the fill
// between them.
std::vector<Cell> FrameRow(int width, std::uint8_t left, std::uint8_t fill, std::uint8_t right) {
  std::vector<Cell> row{Cell{left, kBoxAttribute}};
  row.resize(static_cast<std::size_t>(std::max(width, 2)) - 1, Cell{fill, kBoxAttribute});
  row.push_back(Cell{right, kBoxAttribute});
  return row;
}

void Put(std::vector<Cell>& row, int column, std::string_view text, std::uint8_t attribute) {
  for (std::size_t i = 0; i < text.size() && column + static_cast<int>(i) < static_cast<int>(row.size()); ++i) {
    row[column + i] = Cell{static_cast<std::uint8_t>(text[i]), attribute};
  }
}

// Lays the box out for a buffer of `width` by `height`, shortening lines and
// dropping the last ones when the text does not fit.
Box LayOut(std::string_view text, std::string_view caption, int width, int height) {
  std::vector<std::string_view> lines = BoxLines(text);
  const int captionWidth = caption.empty() ? 0 : static_cast<int>(caption.size()) + 1;
  int inner = std::max(static_cast<int>(kButton.size()), captionWidth);
  for (std::string_view line : lines) inner = std::max(inner, static_cast<int>(line.size()));
  inner = std::min(inner, std::max(width - 2 - 2 * kPadding, static_cast<int>(kButton.size())));
  // Frame, blank row, text, blank row, button, frame.
  const int textRows = std::max(0, std::min(static_cast<int>(lines.size()), height - 5));
  lines.resize(static_cast<std::size_t>(textRows));

  Box box;
  const int boxWidth = inner + 2 + 2 * kPadding;
  std::vector<Cell> top = FrameRow(boxWidth, kTopLeft, kHorizontal, kTopRight);
  Put(top, 2, caption.substr(0, static_cast<std::size_t>(std::max(0, boxWidth - 4))), kBoxAttribute);
  if (!caption.empty()) Put(top, 2 + static_cast<int>(caption.size()), " ", kBoxAttribute);
  top.back().character = kTopRight;
  box.rows.push_back(top);
  const std::vector<Cell> blank = FrameRow(boxWidth, kVertical, ' ', kVertical);
  box.rows.push_back(blank);
  for (std::string_view line : lines) {
    std::vector<Cell> row = blank;
    Put(row, 1 + kPadding, line.substr(0, static_cast<std::size_t>(inner)), kBoxAttribute);
    box.rows.push_back(row);
  }
  box.rows.push_back(blank);
  std::vector<Cell> buttonRow = blank;
  box.buttonColumn = (boxWidth - static_cast<int>(kButton.size())) / 2;
  Put(buttonRow, box.buttonColumn, kButton, kButtonAttribute);
  box.rows.push_back(buttonRow);
  box.rows.push_back(FrameRow(boxWidth, kBottomLeft, kHorizontal, kBottomRight));
  box.left = (width - boxWidth) / 2;
  box.top = (height - box.Height()) / 2;
  return box;
}

// Writes the part of each row that lies inside the buffer.
void WriteRows(ConsoleDevice& device, const std::vector<std::vector<Cell>>& rows, int left, int top, int width,
               int height) {
  for (int r = 0; r < static_cast<int>(rows.size()); ++r) {
    const int row = top + r;
    if (row < 0 || row >= height) continue;
    const int first = std::max(0, -left);
    const int last = std::min(static_cast<int>(rows[r].size()), width - left);
    if (first >= last) continue;
    device.WriteOutput(std::span<const Cell>(rows[r]).subspan(first, last - first), left + first, row);
  }
}

// The cells under one row of the box, as far as they lie inside the buffer,
// and where they go back.
struct SavedRow {
  int column = 0;
  int row = 0;
  std::vector<Cell> cells;
};

std::vector<SavedRow> SaveCells(ConsoleDevice& device, const Box& box, int width, int height) {
  std::vector<SavedRow> saved;
  for (int r = 0; r < box.Height(); ++r) {
    const int row = box.top + r;
    const int first = std::max(0, box.left);
    const int last = std::min(box.left + box.Width(), width);
    if (row < 0 || row >= height || first >= last) continue;
    saved.push_back({first, row, device.ReadOutput(first, row, last - first)});
  }
  return saved;
}

void WriteSaved(ConsoleDevice& device, const std::vector<SavedRow>& saved) {
  for (const SavedRow& row : saved) device.WriteOutput(row.cells, row.column, row.row);
}

bool Dismisses(const InputRecord& record) {
  if (record.eventType != InputEventType::Key || !record.keyDown) return false;
  return record.asciiChar == kEnter || record.asciiChar == kSpace || record.virtualScanCode == kEscScanCode;
}

void AwaitDismissal(ConsoleDevice& device) {
  for (;;) {
    const std::optional<InputRecord> record = device.PeekInput();
    if (!record) {
      device.Sleep(std::chrono::milliseconds{1});
      continue;
    }
    device.ReadInput();
    if (Dismisses(*record)) return;
  }
}

}  // namespace

std::vector<std::string_view> BoxLines(std::string_view text) {
  std::vector<std::string_view> lines;
  for (std::size_t start = 0;;) {
    const std::size_t breakAt = text.find("\\n", start);
    if (breakAt == std::string_view::npos) {
      lines.push_back(text.substr(start));
      return lines;
    }
    lines.push_back(text.substr(start, breakAt - start));
    start = breakAt + 2;
  }
}

void ShowMessageBox(ConsoleDevice& device, std::string_view text, std::string_view caption) {
  const ScreenBufferInfo info = device.GetScreenBufferInfo();
  if (info.width <= 0 || info.height <= 0) return;
  const std::optional<CursorInfo> cursor = device.GetCursorInfo();
  const Box box = LayOut(text, caption, info.width, info.height);
  const std::vector<SavedRow> saved = SaveCells(device, box, info.width, info.height);

  if (cursor) device.SetCursorInfo({cursor->size, false});
  // The hidden cursor stands on the button, so that a terminal showing only
  // part of the buffer brings the box into view.
  device.SetCursorPosition(std::clamp(box.left + box.buttonColumn, 0, info.width - 1),
                           std::clamp(box.top + box.Height() - 2, 0, info.height - 1));
  WriteRows(device, box.rows, box.left, box.top, info.width, info.height);

  AwaitDismissal(device);

  WriteSaved(device, saved);
  device.SetCursorPosition(info.cursorColumn, info.cursorRow);
  if (cursor) device.SetCursorInfo(*cursor);
}

}  // namespace corvane
