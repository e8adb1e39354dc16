#include "demo/program_texts.h"

#include <string>
#include <utility>

#include "demo/assets.h"

namespace kavrin::demo {

namespace {

// Keys and what they do, as the help window and the guide both list them.
struct KeyHelp {
  const char* Key;
  const char* What;
};

const KeyHelp kDriveKeys[] = {
    {"8 / 2（テンキー）", "ハンドルを力行側へ / ブレーキ側へ一段（ブレーキを緩める・ノッチを進める / ノッチを戻す・ブレーキをかける）"},
    {"5（テンキー）", "力行もブレーキも切（中立）"},
    {"0（テンキー）", "力行を切って非常ブレーキ"},
    {"z / a / q", "ワンハンドル車: 力行側へ / ブレーキ側へ / 非常ブレーキ"},
    {"z / a", "ツーハンドル車: 力行ノッチを進める / 戻す"},
    {", / . / /", "ツーハンドル車: ブレーキを緩める / かける / 非常ブレーキ"},
    {"f / n / b", "逆転器を前 / 中立 / 後に（停車中、非常ブレーキのときだけ）"},
    {"6", "電子笛を鳴らす"},
    {"Page Up / Page Down", "ワンマン運転でドアを開ける側（左 / 右）を選ぶ"},
    {"t", "定速運転（最終ノッチで所定の速度以上のとき）"},
    {"w / s / x", "気動車（手動変速）: 変速レバーを直結 / 中立 / 変速に"},
    {"s / x", "抑速ブレーキのある電車: 抑速を弱める / 強める"},
    {"F2 / Shift+F2", "気動車のエンジン始動 / 停止（押している間）"},
    {"Scroll Lock", "8 と 2 の役割を入れ替える"},
    {"マウスホイール", "下へ回すと 8、上へ回すと 2（常用最大では 0）"},
};

const KeyHelp kOtherKeys[] = {
    {"F4", "押している間、電流を増やす（抵抗制御の電車）"},
    {"Shift+F11 / Shift+F12", "速度を 10km/h 下げる / 上げる（試験用）"},
    {"Shift+F5 / Shift+F6", "映像を 100 フレーム戻す / 進める（試験用）"},
    {"Shift+F7 / Shift+F8", "映像を 1000 フレーム戻す / 進める（試験用）"},
    {"Shift+F9 / Shift+F10", "時計を 30 秒戻す / 進める（試験用）"},
};

const char* const kInfoLabels[] = {
    "この先 情報表示区間です",                                          // 0: station line of an information entry
    "乗降が終わりました。ドアを閉めて発車してください",                  // 1: one-man door text
    "停車駅パターン照査中",                                             // 2
    "停止信号まで ",                                                   // 3: "10km/h " + this + "120m"
    "制限区間まで ",                                                   // 4
    "(その先 ",                                                        // 5
    "照査",                                                           // 6
    "制限",                                                           // 7
    "ホームは左側です。Page Up で左側のドアを選んでください",             // 8
    "ホームは右側です。Page Down で右側のドアを選んでください",           // 9
    "駅の映像が終わるまで発車できません",                                // 10
    "保安装置のブレーキが働いています。停車するまでお待ちください",        // 11
    "停車しました。非常ブレーキにして r キーで復帰してください",           // 12
    "ATS 警報！ スペースキーで確認してください",                         // 13
    "EB 装置が鳴っています。どれかキーを押してください",                  // 14
    "注意信号です。45km/h 以下に落としてください",                        // 15
    "減速信号です。65km/h 以下に落としてください",                        // 16
    "警戒信号です。25km/h 以下に落としてください",                        // 17
    "停車駅が近づいています。ブレーキをかけてください",                   // 18
    "",                                                               // 19
    "ATS が切れています。列車設定で「入」にしてください",                 // 20
    "",                                                               // 21
    "",                                                               // 22
    "ATS 確認音が鳴っています",                                          // 23
};

std::string HtmlEscape(const std::string& s) {
  std::string out;
  for (char c : s) {
    if (c == '<') out += "&lt;";
    else if (c == '>') out += "&gt;";
    else if (c == '&') out += "&amp;";
    else out += c;
  }
  return out;
}

std::string ClockText(int32_t t) {
  const int s = t / 30;
  char buf[16];
  std::snprintf(buf, sizeof buf, "%d:%02d:%02d", s / 3600, s / 60 % 60, s % 60);
  return buf;
}

}  // namespace

DataText StringFileText() {
  DataText t;
  t.Line("; 鉄道運転シミュレータ 文字と表示の設定");
  t.Line("; [Disp]: 1秒あたりの計算回数,映像の長さの倍率 / 時刻表の左端 / 映像の幅 / 映像の高さ / 予備");
  t.Line("[Disp]").Line("30,1").Line(std::to_string(kFilmWidth)).Line(std::to_string(kFilmWidth)).Line(std::to_string(kFilmHeight)).Line("0");
  t.Line("[Path]").Line("move\\");
  t.Line("[Forward]").Line("前");
  t.Line("[Neutral]").Line("中");
  t.Line("[Reverse]").Line("後");
  t.Line("[Stop]").Line(" 停車");
  t.Line("[Pass]").Line(" 通過");
  t.Line("[Stop2]").Line(" 運転停車");
  t.Line("[Neut]").Line("N");
  t.Line("[Neut2]").Line("N");
  t.Line("[Apply]").Line("常用");
  t.Line("[Maintain]").Line("保ち");
  t.Line("[Remove]").Line("緩め");
  t.Line("[Hold]").Line("重なり");
  t.Line("[Hold2]").Line("保持");
  t.Line("[EB]").Line("非常");
  t.Line("[Const]").Line("定速");
  t.Line("[Cars]").Line("両");
  t.Line("[TC]").Line("交差点の信号が変わります");
  t.Line("[Stops]").Line("交差点の停止線まで").Line("交差点まで");
  t.Line("[Doors]").Line("左側ドア").Line("右側ドア");
  t.Line("[Gears]").Line("中立").Line("変速").Line("直結");
  t.Line("; 運転情報の文（番号順）");
  t.Line("[InfoLabel]");
  for (const char* s : kInfoLabels) t.Line(s);
  t.Line("#");
  t.Line("[Start]").Line("運転(&R)");
  t.Line("[Move]").Line("駅へ移動(&M)");
  t.Line("[Display]").Line("表示(&D)");
  t.Line("[Control]").Line("コントローラ(&C)");
  t.Line("[Save]").Line("保存(&S)");
  return t;
}

std::vector<std::string> MasconCommands() {
  // Power 1 to 6, neutral, brake 1 to 9, reverser forward, neutral, back, then the keys space,
  // 3, 7 and 1. Only five characters of a message are compared, so each is exactly five long.
  std::vector<std::string> c;
  for (int i = 1; i <= 6; ++i) c.push_back("TSP0" + std::to_string(i));
  c.push_back("TSN00");
  for (int i = 1; i <= 9; ++i) c.push_back("TSB0" + std::to_string(i));
  for (const char* s : {"TSRF0", "TSRN0", "TSRB0", "TSKSP", "TSKHN", "TSKDR", "TSKAN"}) c.push_back(s);
  return c;
}

DataText MasconFileText() {
  DataText t;
  for (const std::string& s : MasconCommands()) t.Line(s);
  t.Line("# 上から: 力行1～6, 中立, ブレーキ1～9, 逆転器 前・中・後, ATS確認, 警笛, ドア, 車内放送");
  return t;
}

DataText OperationText() {
  DataText t;
  t.Line("操作説明");
  t.Line("【運転のしかた】");
  t.Line("運転は始発駅に止まり、非常ブレーキがかかった状態で始まります。");
  t.Line("5 でハンドルを中立にしてブレーキを緩め、8 を押すごとに力行ノッチが一段ずつ入ります。2 で戻します。");
  t.Line("");
  t.Line("【キー】");
  for (const KeyHelp& k : kDriveKeys) t.Line(std::string(k.Key) + "\t" + k.What);
  t.Line("");
  t.Line("【その他のキー】");
  for (const KeyHelp& k : kOtherKeys) t.Line(std::string(k.Key) + "\t" + k.What);
  t.Line("");
  t.Line("【かんたん運転台】");
  t.Line("加速 = 8、減速 = 2、ニュートラル = 5、ドア開閉 = 7、案内放送 = 1、巻戻し = -、逆転器 = 前後の切り替え");
  t.Line("");
  t.Line("【コントローラ】");
  t.Line("コントローラメニューで、シリアル接続のマスコン（mascon.dat の命令）、電車でGO!コントローラ（Windows用・PS用）、");
  t.Line("ワンハンドルコントローラを選べます。マスコンは「QZマスコン（設定）」でポートを選び、「QZマスコン（接続）」で接続します。");
  return t;
}

DataText ReadmeHtml(const std::vector<Route>& routes) {
  DataText t;
  auto p = [&](const std::string& s) { t.Line(s); };
  p("<!DOCTYPE html>");
  p("<html lang=\"ja\">");
  p("<head>");
  p("<meta charset=\"Shift_JIS\">");
  p("<title>鉄道運転シミュレータ 説明書</title>");
  p("<style>body{font-family:\"IPAexGothic\",sans-serif;max-width:52em;margin:2em auto;line-height:1.6}"
    "table{border-collapse:collapse}td,th{border:1px solid #999;padding:.2em .6em;text-align:left}"
    "th{background:#e8eef6}h2{border-bottom:2px solid #36c;padding-bottom:.1em}"
    "code{background:#f2f2f2;padding:0 .2em}</style>");
  p("</head>");
  p("<body>");
  p("<h1>鉄道運転シミュレータ 説明書</h1>");
  p("<p>列車を運転するシミュレータです。ハンドルの操作に合わせて、列車の力行・ブレーキ・"
    "空気ブレーキの圧力・速度・位置が計算され、ハンドルやブレーキの音が鳴ります。</p>");

  p("<h2>1. 運転を始める</h2>");
  p("<p>このフォルダ（データフォルダ）を指定して、路線ファイルと列車ファイルを選んで起動します:</p>");
  p("<p><code>kavrin run --data このフォルダ --route line_1_down_day.dat --train train_1000.dat</code></p>");
  p("<p>列車 train_0.dat（気動車）で運転するときは、路線ファイルの拡張子を .dat0 にします"
    "（例: <code>--route line_1_down_day.dat0 --train train_0.dat</code>）。"
    "<code>--station N</code> を付けると N 番目の駅（0 から数える）から始まります。</p>");
  p("<p>収録している路線:</p>");
  p("<table><tr><th>路線</th><th>路線ファイル</th><th>区間</th><th>停車駅と発車時刻</th></tr>");
  for (const Route& r : routes) {
    std::string stops;
    for (const RouteStation& s : r.Stations) {
      if (!stops.empty()) stops += " → ";
      stops += s.Name + (s.TrnType == 0 ? (&s == &r.Stations.back() ? "（着 " + ClockText(s.ArrTime) + "）" : "（" + ClockText(s.DepTime) + "）")
                                       : "（通過）");
    }
    p("<tr><td>" + std::string(kLineName) + " " + r.Name + "</td><td>" + RouteFileName(r.Direction, false) + " / " +
      RouteFileName(r.Direction, true) + "</td><td>" + r.Stations.front().Name + " → " + r.Stations.back().Name + "（" +
      std::to_string(static_cast<int>(r.LengthM() / 100) / 10.0).substr(0, 3) + " km）</td><td>" + HtmlEscape(stops) +
      "</td></tr>");
  }
  p("</table>");
  p("<p>列車: train_1000.dat は 1000形 電車（4両、ワンハンドル、電気指令式ブレーキ）、"
    "train_0.dat は キハ0形 気動車（2両、ツーハンドル、自動空気ブレーキ、自動変速）です。</p>");

  p("<h2>2. 運転のしかた</h2>");
  p("<p>運転は始発駅に止まり、非常ブレーキがかかった状態で始まります。メニューの「運転」で一時停止と再開ができます。</p>");
  p("<ol>");
  p("<li><b>5</b>（テンキー）でハンドルを中立にします。ブレーキが緩みます。</li>");
  p("<li><b>8</b> を押すごとに力行ノッチ（P1, P2 …）が一段ずつ入ります。ブレーキがかかっているときは、"
    "まず一段ずつ緩みます。ツーハンドルの気動車は <b>z</b> / <b>a</b> で力行ノッチを進める / 戻します。</li>");
  p("<li><b>2</b> でノッチを戻し、さらに押すとブレーキが一段ずつかかります。ツーハンドル車のブレーキは "
    "<b>,</b> で緩め、<b>.</b> でかけます。<b>0</b> は非常ブレーキです。</li>");
  p("<li>逆転器は、停車して非常ブレーキのときに <b>f</b>（前）/ <b>n</b>（中立）/ <b>b</b>（後）で切り替えます。</li>");
  p("</ol>");

  p("<h2>3. キー一覧</h2>");
  p("<table><tr><th>キー</th><th>はたらき</th></tr>");
  for (const KeyHelp& k : kDriveKeys) p("<tr><td>" + HtmlEscape(k.Key) + "</td><td>" + HtmlEscape(k.What) + "</td></tr>");
  for (const KeyHelp& k : kOtherKeys) p("<tr><td>" + HtmlEscape(k.Key) + "</td><td>" + HtmlEscape(k.What) + "</td></tr>");
  p("</table>");

  p("<h2>4. メニュー</h2>");
  p("<ul>");
  p("<li><b>運転</b>: 一時停止と再開。</li>");
  p("<li><b>表示</b>: 解説なし、喚呼なし、文字表示モード切り替えの設定（チェック印）。設定は運転の終わりに保存されます。</li>");
  p("<li><b>コントローラ</b>: 使うコントローラの種類を選びます。</li>");
  p("</ul>");

  p("<h2>5. コントローラ</h2>");
  p("<ul>");
  p("<li><b>標準/QZマスコン</b>: シリアルポート（9600bps, 8N1）につないだマスコン。送られる命令は mascon.dat の各行（5文字）です。"
    "上から 力行1～6、中立、ブレーキ1～9、逆転器 前・中・後、ATS確認、警笛、ドア、車内放送。"
    "「QZマスコン（設定）」でポートを選び、「QZマスコン（接続）」で接続します。</li>");
  p("<li><b>Windows用電車でGO! コントローラ</b>、<b>PS用電車でGO! コントローラ</b>（変換アダプタ経由）、"
    "<b>ワンハンドルコントローラ</b>: USB のゲームコントローラとして読み取ります。</li>");
  p("<li>キーボードはどのコントローラを選んでいても使えます。</li>");
  p("</ul>");

  p("<h2>6. データを確かめる</h2>");
  p("<p><code>kavrin check --data このフォルダ</code> は、運転画面と同じ読み込みを画面なしで行い、"
    "路線と列車の組み合わせごとに結果を一行で表示します。データを書き換えたときは、誤りのある行が"
    "「ファイル:行: ラベル: その行」の形で示されます。</p>");
  p("<h2>7. データについて</h2>");
  p("<p>このフォルダの路線・映像・音はすべてこのプログラムのために作ったもので、自由に改造して試せます。"
    "文字のファイルは Shift-JIS、改行は CR LF です。</p>");
  p("</body>");
  p("</html>");
  return t;
}

}  // namespace kavrin::demo
