#include "clip_writer.h"

#include "../../common/commands/clip_commands.h"
#include "../../common/commands/exceptions.h"
#include "../../common/files/replacing_file.h"
#include "../../common/text/fixed_number.h"
#include "../../platform/text/utf8_text.h"
#include "../../platform/xml/com_startup.h"
#include "../panels/save_labels.h"
#include "clip_text_encoding.h"

namespace lwp::akio {

namespace {

constexpr const char *kHeader =
    "<?xml version=\"1.0\" encoding=\"Shift_JIS\" ?>\n"
    "<docroot>\n"
    "\t<info>\n"
    "\t\t<author></author>\n"
    "\t\t<tool>qd_zaza02</tool>\n"
    "\t\t<comments></comments>\n"
    "\t\t<scene></scene>\n"
    "\t\t<created></created>\n"
    "\t\t<modified></modified>\n"
    "\t\t<unit name=\"centimeter\" meter=\"0.01\" />\n"
    "\t\t<axis up=\"Y\" order=\"left_hand\" />\n"
    "\t</info>\n"
    "\t<category type=\"LW_animClip\" format=\"1.0\" >\n";

constexpr const char *kFooter =
    "\t</category>\n"
    "</docroot>\n"
    "<!--EOF-->";

// Gathers lines into blocks of about kBlockSize bytes and hands each block
// to the file whole: a write per line would cost more than its formatting.
class ClipPrinter {
 public:
  static constexpr std::size_t kBlockSize = std::size_t{1} << 20;

  explicit ClipPrinter(ReplacingFile &file) : file_(file) { line_.reserve(kBlockSize + 4096); }

  void print(const char *text) { line_ += text; }
  void printItem(const AnimClipItem &item);
  void flush() {
    file_.write(line_);
    line_.clear();
  }

 private:
  void begin(int tabs) { line_.append(static_cast<std::size_t>(tabs), '\t'); }
  void end() {
    line_ += '\n';
    if (line_.size() >= kBlockSize) flush();
  }
  void text(const char *literal) { line_ += literal; }
  void name(const std::string &text) { appendAttributeText(line_, text); }
  void number(double value) { appendFixed10(line_, value); }
  void numberAttribute(const char *name, double value) {
    line_ += name;
    number(value);
    line_ += '"';
  }
  void vectorLine(const char *element, const Vector3 &v);
  void keyLine(const AnimClipKey &key);

  ReplacingFile &file_;
  std::string line_;  // the lines of the block being gathered
};

void ClipPrinter::vectorLine(const char *element, const Vector3 &v) {
  begin(4);
  text(element);
  numberAttribute(" x=\"", v[0]);
  numberAttribute(" y=\"", v[1]);
  numberAttribute(" z=\"", v[2]);
  text("/>");
  end();
}

void ClipPrinter::keyLine(const AnimClipKey &key) {
  begin(5);
  text("<key");
  numberAttribute(" time=\"", key.time);
  numberAttribute(" value=\"", key.value);
  text(" shape=\"");
  appendInteger(line_, key.shape);
  text("\"");
  numberAttribute(" tension=\"", key.tension);
  numberAttribute(" continuity=\"", key.continuity);
  numberAttribute(" bias=\"", key.bias);
  numberAttribute(" param0=\"", key.param0);
  numberAttribute(" param1=\"", key.param1);
  numberAttribute(" param2=\"", key.param2);
  numberAttribute(" param3=\"", key.param3);
  text(" />");
  end();
}

void ClipPrinter::printItem(const AnimClipItem &item) {
  begin(2);
  text("<clip item=\"");
  name(item.itemName);
  text("\" type=\"param-fcurve\" fullpath=\"");
  name(item.fullPath);
  text("\"");
  numberAttribute(" range_start=\"", item.rangeStart);
  numberAttribute(" range_end=\"", item.rangeEnd);
  numberAttribute(" fps=\"", item.fps);
  text(" >");
  end();
  print("\t\t\t<basepose>\n");
  vectorLine("<pivot_pos", item.pivotPos);
  vectorLine("<pivot_rot", item.pivotRot);
  vectorLine("<rest_pos", item.restPos);
  vectorLine("<rest_rot", item.restRot);
  print("\t\t\t</basepose>\n\t\t\t<targets>\n");
  for (const AnimClipChannel &channel : item.channels) {
    begin(4);
    text("<param channel=\"");
    name(channel.name);
    text("\" />");
    end();
  }
  print("\t\t\t</targets>\n\t\t\t<sources>\n");
  for (const AnimClipChannel &channel : item.channels) {
    print("\t\t\t\t<fcurve>\n");
    for (const AnimClipKey &key : channel.keys) keyLine(key);
    print("\t\t\t\t</fcurve>\n");
  }
  print("\t\t\t</sources>\n\t\t</clip>\n");
}

bool hasWritableNames(const AnimClipItem &item) {
  if (!isWritableText(item.itemName) || !isWritableText(item.fullPath)) return false;
  for (const AnimClipChannel &channel : item.channels)
    if (!isWritableText(channel.name)) return false;
  return true;
}

// The message names the file, or the item that could not be written.
[[noreturn]] void saveFailed(const std::string &subject) {
  const std::string message = formatBounded(saveLabels().message(kMsgFailedToSaveFile), subject.c_str());
  errorMsg(message);
  throw lw::ex::CFileReadWriteEx(message);
}

}  // namespace

void writeClipFile(const AnimClip &clip, const std::string &fileName) {
  platform::startComOnce();  // COM is started once, by whichever clip tool runs first
  if (clip.empty()) return;
  for (const AnimClipItem &item : clip)
    if (!hasWritableNames(item)) saveFailed(platform::utf8ForDisplay(item.itemName));
  ReplacingFile file(fileName);
  if (!file.isOpen()) saveFailed(fileName);
  ClipPrinter printer(file);
  printer.print(kHeader);
  for (const AnimClipItem &item : clip) printer.printItem(item);
  printer.print(kFooter);
  printer.flush();
  if (!file.commit()) saveFailed(fileName);
}

}  // namespace lwp::akio
