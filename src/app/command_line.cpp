#include "app/command_line.h"

#include <algorithm>
#include <array>
#include <optional>

#include "core/numbers.h"

namespace kavrin {

namespace {

constexpr unsigned kRunningCommands = kRunCommand | kCheckCommand | kHeadlessCommand;
constexpr unsigned kAllCommands = kBareCommand | kRunningCommands | kHelpCommand;

constexpr std::array<TCommandInfo, 5> kCommands = {{
    {"", kBareCommand, "kavrin [--data DIR]",
     "運転画面を開きます。路線と列車を選んで運転するには kavrin run を使います。\n"
     "画面にはデスクトップ環境（DISPLAY）が必要です。画面のない機械では Xvfb の中で起動します。",
     "0  ウィンドウを閉じて終了\n"
     "1  データの読み込みに失敗（メッセージを表示）\n"
     "2  引数の誤り"},
    {"run", kRunCommand, "kavrin run --data DIR --route FILE --train FILE [--station N] [--end N] [--script FILE]",
     "タイトル画面を通さずに、指定した路線と列車で運転画面を開きます。\n"
     "FILE はデータフォルダからの相対パスです（列車は別のフォルダのパスでもかまいません）。\n"
     "--script を与えると、その入力を運転開始からの時刻どおりに画面の運転へ与えます（書式は kavrin help headless）。",
     "0  ウィンドウを閉じて終了\n"
     "1  データの読み込みに失敗（メッセージを表示）\n"
     "2  引数の誤り"},
    {"check", kCheckCommand,
     "kavrin check --data DIR [--route FILE --train FILE] [--station N] [--end N] [--dump] "
     "[--set NAME=VALUE ...] [--settings-dir DIR]",
     "運転画面を開くときと同じ読み込みを、画面・映像のデコード・音の出力なしで行い、結果を表示します。\n"
     "失敗したときは運転画面と同じメッセージと、作者向けに「ファイル:行: ラベル: その行」を表示します。\n"
     "読み込みは続くが問題があるとき（映像ファイルを開けない など）は、そのメッセージをすべて表示します。\n"
     "--route と --train を省くと、タイトル画面で選べる路線と列車の組み合わせのうち、データフォルダに\n"
     "あるものをすべて確かめ、一組を一行で表示します（列車 train_0.dat には路線の .dat0 を使います）。",
     "0  すべて読み込めた（OK）\n"
     "1  読み込みに失敗した組み合わせがある、または確かめる組み合わせがない\n"
     "2  引数の誤り\n"
     "3  読み込めたが問題がある（問題のメッセージを表示）"},
    {"headless", kHeadlessCommand,
     "kavrin headless --data DIR --route FILE --train FILE [--station N] [--end N] [--script FILE] "
     "[--seconds S] [--frames N] [--trace FILE] [--fields A,B,...] [--every logic|physics] "
     "[--sound-log FILE] [--shot MS:FILE ...] [--set NAME=VALUE ...] [--settings-dir DIR]",
     "画面なしで、仮想時間で運転します。読み込みは運転画面と同じで、映像は長さだけを読み、音は鳴らさずに\n"
     "時間どおりに進めます。運転を始めた状態から、スクリプトの入力を時刻どおりに与え、運転が終わるまで\n"
     "（または --seconds まで）走らせます。同じデータ・設定・スクリプトなら、トレースは毎回同じです。",
     "0  運転が終わった\n"
     "1  データの読み込みに失敗（メッセージを表示）\n"
     "2  引数またはスクリプトの誤り"},
    {"help", kHelpCommand, "kavrin help [COMMAND]",
     "コマンドの説明を表示します。COMMAND は run, check, headless のどれかです。",
     "0  表示した\n"
     "2  そのようなコマンドはない"},
}};

// Every event that ParseScript accepts, with an example that it accepts as written.
constexpr std::string_view kScriptHelp =
    "スクリプト（--script FILE）:\n"
    "  一行に一つ「MS EVENT」。MS は仮想時間のミリ秒で、その時刻の周期処理の前に与えます。\n"
    "  # から行末まではコメントです。EVENT は次のどれかです。\n"
    "  char C                  文字キー C を一回（空白は space）\n"
    "  key NAME                キーを一回押す（F2..F12 Enter Space Backspace PageUp PageDown\n"
    "                          ScrollLock Up Down Left Right Escape、前に Shift+ も可）\n"
    "  keydown NAME            キーを押したままにする（NAME は上の名前か文字一つ）\n"
    "  keyup NAME              押したままのキーを離す\n"
    "  wheel up|down           マウスホイール\n"
    "  click cab               運転画面をクリック\n"
    "  menu NAME               メニュー（start1 StaN Save1..3 Load1..3 OFF1 D1 OFF2 OFFV1 OFFC1 P1\n"
    "                          とコントローラメニューの項目）\n"
    "  ats on|off              列車設定の ATS 入 / 切\n"
    "  engine start|stop       列車設定のエンジン始動 / 停止\n"
    "  controller N            コントローラの種類\n"
    "  serial TEXT             シリアルポートから受け取る文字（\\r は復帰）\n"
    "  pad X Y BUTTONS         ゲームコントローラの読み取り（BUTTONS はボタン 0..15 のビット、0x も可）\n"
    "  back                    戻るボタン\n"
    "例:\n";

// Shown after kScriptHelp, each line indented; the tests parse it as a script.
constexpr std::string_view kScriptExample =
    "500 menu start1\n"
    "1000 char 5\n"
    "1500 char 8\n"
    "1600 char 8\n"
    "60000 char 2   # ノッチを戻す\n"
    "62000 keydown 3\n"
    "63000 keyup 3\n";

bool Whole(const std::string& flag, const std::string& v, int& into, bool nonNegative, std::string& error) {
  auto n = ParseInt(v);
  if (!n || (nonNegative && *n < 0)) {
    error = flag + " needs a whole number";
    return false;
  }
  into = *n;
  return true;
}

const std::array<TOptionInfo, 17> kOptions = {{
    {"--data", "", "DIR", "データフォルダ（ostrel.dat のあるフォルダ）。省略時は作業フォルダ、なければ実行ファイルのフォルダ",
     kBareCommand | kRunningCommands,
     [](CommandLine& o, const std::string& v, std::string&) { return o.dataDir = v, true; }},
    {"--route", "", "FILE", "路線ファイル（データフォルダからの相対パス）", kRunningCommands,
     [](CommandLine& o, const std::string& v, std::string&) { return o.route = v, true; }},
    {"--train", "", "FILE", "列車ファイル（データフォルダからの相対パス、または別のフォルダのパス）", kRunningCommands,
     [](CommandLine& o, const std::string& v, std::string&) { return o.train = v, true; }},
    {"--station", "", "N", "始発駅の番号（0 から数える。既定 0）", kRunningCommands,
     [](CommandLine& o, const std::string& v, std::string& e) { return Whole("--station", v, o.station, false, e); }},
    {"--end", "", "N", "「駅へ移動」メニューに出す駅の範囲の終わり（既定 999）", kRunningCommands,
     [](CommandLine& o, const std::string& v, std::string& e) { return Whole("--end", v, o.end, false, e); }},
    {"--dump", "", "", "読み込んだ後の状態を JSON で表示（失敗のときは message, file, line, label, text）", kCheckCommand,
     [](CommandLine& o, const std::string&, std::string&) { return o.dump = true, true; }},
    {"--set", "", "NAME=VALUE", "読み込みの前に設定を変える（NAME は Kanko, Information, ATS, Tunnel, Moji。VALUE は整数）",
     kCheckCommand | kHeadlessCommand,
     [](CommandLine& o, const std::string& v, std::string& e) {
       size_t eq = v.find('=');
       if (eq == std::string::npos) {
         e = "--set needs NAME=VALUE";
         return false;
       }
       o.sets.emplace_back(v.substr(0, eq), v.substr(eq + 1));
       return true;
     }},
    {"--settings-dir", "", "DIR",
     "設定のフォルダ（DIR/Ostrel/Kavrin.conf と Brenvik.conf）。headless は終わりに書き戻す。省略時は空の設定",
     kCheckCommand | kHeadlessCommand,
     [](CommandLine& o, const std::string& v, std::string&) { return o.settingsDir = v, o.hasSettingsDir = true; }},
    {"--script", "", "FILE", "入力のスクリプト（headless の説明の「スクリプト」）", kRunCommand | kHeadlessCommand,
     [](CommandLine& o, const std::string& v, std::string&) { return o.script = v, true; }},
    {"--seconds", "", "S", "仮想時間で S 秒まで走らせる（既定: 運転が終わるまで、長くても 3600 秒）", kHeadlessCommand,
     [](CommandLine& o, const std::string& v, std::string& e) {
       auto s = ParseReal(v);
       if (!s || *s < 0) {
         e = "--seconds needs a number of seconds";
         return false;
       }
       o.seconds = static_cast<double>(*s);
       return true;
     }},
    {"--frames", "", "N", "映像の長さ（フレーム数）をこの値にする。映像ファイルのない路線で使う", kHeadlessCommand,
     [](CommandLine& o, const std::string& v, std::string& e) { return Whole("--frames", v, o.frames, true, e); }},
    {"--trace", "", "FILE", "状態を CSV で書き出す（t_ms と --fields の名前の列）", kHeadlessCommand,
     [](CommandLine& o, const std::string& v, std::string&) { return o.trace = v, true; }},
    {"--fields", "", "A,B,...", "トレースに出す状態の名前（既定 ClockTime。知らない名前なら使える名前を表示）",
     kHeadlessCommand, [](CommandLine& o, const std::string& v, std::string&) { return o.fields = v, true; }},
    {"--every", "", "logic|physics", "トレースの行を 100 ms ごと（logic、既定）または 33 ms ごと（physics）に書く",
     kHeadlessCommand,
     [](CommandLine& o, const std::string& v, std::string& e) {
       if (v != "logic" && v != "physics") {
         e = "--every takes logic or physics";
         return false;
       }
       o.every = v;
       return true;
     }},
    {"--sound-log", "", "FILE", "音のチャンネル操作を CSV で書き出す（t_ms,op,channel,value）", kHeadlessCommand,
     [](CommandLine& o, const std::string& v, std::string&) { return o.soundLog = v, true; }},
    {"--shot", "", "MS:FILE",
     "仮想時間 MS ミリ秒以後の最初の描画で、運転画面（800 x 880）を PNG で FILE に書く（何度でも指定可。トレースは変わらない）",
     kHeadlessCommand,
     [](CommandLine& o, const std::string& v, std::string& e) {
       const size_t colon = v.find(':');
       auto ms = colon == std::string::npos ? std::nullopt : ParseInt(v.substr(0, colon));
       if (!ms || *ms < 0 || colon + 1 >= v.size()) {
         e = "--shot needs MS:FILE";
         return false;
       }
       o.shots.emplace_back(*ms, v.substr(colon + 1));
       return true;
     }},
    {"--help", "-h", "", "この説明を表示する", kAllCommands,
     [](CommandLine& o, const std::string&, std::string&) { return o.help = true, true; }},
}};

bool TakesValue(const TOptionInfo& o) { return !o.value.empty(); }

std::string OptionColumn(const TOptionInfo& o) {
  std::string s;
  if (!o.alias.empty()) s.append(o.alias).append(", ");
  s.append(o.name);
  if (TakesValue(o)) s.append(" ").append(o.value);
  return s;
}

void Indented(std::string& out, std::string_view text, std::string_view indent) {
  while (!text.empty()) {
    size_t nl = text.find('\n');
    out.append(indent).append(text.substr(0, nl)).append("\n");
    if (nl == std::string_view::npos) break;
    text.remove_prefix(nl + 1);
  }
}

}  // namespace

std::span<const TCommandInfo> Commands() { return kCommands; }
std::span<const TOptionInfo> CommandOptions() { return kOptions; }

const TCommandInfo* FindCommand(std::string_view name) {
  for (const TCommandInfo& c : kCommands) {
    if (c.name == name) return &c;
  }
  return nullptr;
}

bool ParseCommandLine(const std::vector<std::string>& args, CommandLine& out, std::string& error) {
  size_t i = 0;
  if (i < args.size()) {
    const TCommandInfo* c = FindCommand(args[i]);
    if (c && !c->name.empty()) {
      out.command = args[i];
      ++i;
    }
  }
  const TCommandInfo& command = *FindCommand(out.command);
  for (; i < args.size(); ++i) {
    const std::string& a = args[i];
    if (command.bit == kHelpCommand && a.rfind("-", 0) != 0 && out.helpTopic.empty()) {
      if (!FindCommand(a) || a.empty() || a == "help") {
        error = "unknown command: " + a;
        return false;
      }
      out.helpTopic = a;
      continue;
    }
    auto option = std::find_if(kOptions.begin(), kOptions.end(), [&](const TOptionInfo& o) {
      return (o.commands & command.bit) && (a == o.name || (!o.alias.empty() && a == o.alias));
    });
    if (option == kOptions.end()) {
      error = "unknown argument: " + a;
      return false;
    }
    std::string value;
    if (TakesValue(*option)) {
      if (i + 1 >= args.size()) {
        error = std::string(option->name) + " needs a value";
        return false;
      }
      value = args[++i];
    }
    if (!option->apply(out, value, error)) return false;
  }
  if (out.help) return true;
  if (out.command == "run" && out.route.empty() != out.train.empty()) {
    error = "run needs both --route and --train";
    return false;
  }
  return true;
}

std::string UsageText(std::string_view command) {
  const TCommandInfo* c = FindCommand(command);
  if (!c) c = FindCommand("");
  std::string out = "使い方: ";
  out.append(c->usage).append("\n");
  out.append("詳しくは: kavrin ").append(c->name.empty() ? "--help" : "help " + std::string(c->name)).append("\n");
  return out;
}

std::string HelpText(std::string_view command) {
  const TCommandInfo* c = FindCommand(command);
  if (!c) return UsageText("");
  std::string out = "使い方: ";
  out.append(c->usage).append("\n\n");
  Indented(out, c->about, "");
  if (c->name.empty()) {
    out.append("\nコマンド:\n");
    for (const TCommandInfo& sub : kCommands) {
      if (!sub.name.empty()) Indented(out, sub.usage, "  ");
    }
    out.append("\n各コマンドの説明: kavrin help COMMAND、または kavrin COMMAND --help\n");
  }
  size_t width = 0;
  for (const TOptionInfo& o : kOptions) {
    if (o.commands & c->bit) width = std::max(width, OptionColumn(o).size());
  }
  out.append("\nオプション:\n");
  for (const TOptionInfo& o : kOptions) {
    if (!(o.commands & c->bit)) continue;
    std::string column = OptionColumn(o);
    out.append("  ").append(column).append(width + 2 - column.size(), ' ').append(o.help).append("\n");
  }
  out.append("\n終了コード:\n");
  Indented(out, c->exits, "  ");
  if (c->bit == kHeadlessCommand) {
    out.append("\n").append(kScriptHelp);
    Indented(out, kScriptExample, "  ");
    out.append("\n例: kavrin headless --data DIR --route line_1_down_day.dat --train train_1000.dat \\\n"
               "      --script drive.txt --seconds 120 --fields Speed,Position,PowerNotch,BrakeNotch --trace out.csv\n");
  } else if (c->bit == kCheckCommand) {
    out.append("\n例: kavrin check --data DIR\n"
               "    kavrin check --data DIR --route line_1_down_day.dat --train train_1000.dat --dump\n");
  } else if (c->bit == kRunCommand) {
    out.append("\n例: kavrin run --data DIR --route line_1_down_day.dat0 --train train_0.dat --station 1\n");
  }
  return out;
}

std::string_view ScriptHelpExample() { return kScriptExample; }

}  // namespace kavrin
