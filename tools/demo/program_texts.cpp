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
    {"3 / 6", "警笛 / 電子笛（3 は押している間鳴る車両もあります）"},
    {"4", "発車ベル（ドアが開いている間、押している間鳴ります）"},
    {"d または 7", "ドアの開閉（ワンマン運転の線区）"},
    {"c または 1 / -", "次の車内放送 / 一つ前に戻る（ワンマン運転の線区）"},
    {"Page Up / Page Down", "ワンマン運転でドアを開ける側（左 / 右）を選ぶ"},
    {"Enter", "喚呼（信号・標識・踏切・時刻を声で確認）"},
    {"スペース", "ATS の確認（警報ベルを止める）"},
    {"r", "保安装置の復帰（停車して非常ブレーキのとき）"},
    {"t", "定速運転（最終ノッチで所定の速度以上のとき）"},
    {"w / s / x", "気動車（手動変速）: 変速レバーを直結 / 中立 / 変速に"},
    {"s / x", "抑速ブレーキのある電車: 抑速を弱める / 強める"},
    {"F2 / Shift+F2", "気動車のエンジン始動 / 停止（押している間）"},
    {"Backspace", "映像の区切りの手前で停車しているとき、区切りの先へ進む"},
    {"Scroll Lock", "8 と 2 の役割を入れ替える"},
    {"マウスホイール", "下へ回すと 8、上へ回すと 2（常用最大では 0）"},
};

const KeyHelp kOtherKeys[] = {
    {"F3", "数値表示ウィンドウを開く / 閉じる"},
    {"F4", "押している間、電流を増やす（抵抗制御の電車）"},
    {"Shift+↑ / Shift+↓", "運転台の絵を 50 ドット上 / 下へずらす"},
    {"Shift+F11 / Shift+F12", "速度を 10km/h 下げる / 上げる（試験用）"},
    {"Shift+F5 / Shift+F6", "映像を 100 フレーム戻す / 進める（試験用）"},
    {"Shift+F7 / Shift+F8", "映像を 1000 フレーム戻す / 進める（試験用）"},
    {"Shift+F9 / Shift+F10", "時計を 30 秒戻す / 進める（試験用）"},
    {"Shift+F3", "次の停車駅の少し手前へ移動（試験用）"},
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
  t.Line("タイトル画面をクリックし、路線を選んでから列車の絵をクリックすると運転が始まります。");
  t.Line("非常ブレーキがかかった状態で始まります。8 を押してブレーキを緩め、さらに 8 で力行します。");
  t.Line("駅では停止位置の目標（右上の表示と画面下の線）に合わせて止まると、ドアが開きます。");
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
    "th{background:#e8eef6}h2{border-bottom:2px solid #36c;padding-bottom:.1em}</style>");
  p("</head>");
  p("<body>");
  p("<h1>鉄道運転シミュレータ 説明書</h1>");
  p("<p>前面展望の映像に合わせて列車を運転するシミュレータです。映像は列車の速さに合わせて進み、止まり、戻ります。"
    "信号・速度制限・ATS・時刻表を守って、各駅の停止位置にぴったり止めましょう。</p>");

  p("<h2>1. 運転を始める</h2>");
  p("<ol>");
  p("<li>プログラムを起動するとオープニング映像が流れます。画面をクリックするとタイトル画面になります。</li>");
  p("<li>もう一度クリックすると路線の一覧が出ます。路線の絵をクリックして選びます。</li>");
  p("<li>列車の絵（電車または気動車）をクリックすると、データを読み込んで運転画面が開きます。"
    "右クリックすると、別の列車データファイルを選んで運転することもできます。</li>");
  p("<li>運転画面は一時停止の状態で開くことがあります。画面をクリックするか、メニューの「運転」で始まります。</li>");
  p("</ol>");
  p("<p>収録している路線:</p>");
  p("<table><tr><th>路線</th><th>区間</th><th>停車駅と発車時刻</th></tr>");
  for (const Route& r : routes) {
    std::string stops;
    for (const RouteStation& s : r.Stations) {
      if (!stops.empty()) stops += " → ";
      stops += s.Name + (s.TrnType == 0 ? (&s == &r.Stations.back() ? "（着 " + ClockText(s.ArrTime) + "）" : "（" + ClockText(s.DepTime) + "）")
                                       : "（通過）");
    }
    p("<tr><td>" + std::string(kLineName) + " " + r.Name + "</td><td>" + r.Stations.front().Name + " → " + r.Stations.back().Name +
      "（" + std::to_string(static_cast<int>(r.LengthM() / 100) / 10.0).substr(0, 3) + " km）</td><td>" + HtmlEscape(stops) + "</td></tr>");
  }
  p("</table>");
  p("<p>夜の便としらさぎ線以外の路線は準備中です。</p>");

  p("<h2>2. 運転のしかた</h2>");
  p("<p>運転は非常ブレーキがかかった状態から始まります。駅では発車メロディが鳴り終わるとドアが閉まり、"
    "戸閉めの確認（ドア表示灯）が点くと発車できます。</p>");
  p("<ol>");
  p("<li>出発信号機が進行を示していることを確かめます（左上に信号機の現示と名札が出ます）。</li>");
  p("<li><b>8</b>（テンキー）を押すごとにブレーキが一段ずつ緩み、さらに押すと力行ノッチ（P1, P2 …）が入ります。</li>");
  p("<li>速度計と画面右下の速度を見ながら、<b>2</b> でノッチを戻し、惰行します。制限速度の標識（右側）や"
    "注意信号が見えたら、<b>2</b> を続けて押してブレーキをかけます。</li>");
  p("<li>画面下の「次は ○○ 停車」の表示が次の停車駅です。</li>");
  p("</ol>");

  p("<h2>3. 駅に止める</h2>");
  p("<ul>");
  p("<li>停車駅が近づくと、右端に残りの距離の目盛（30m から）が現れ、画面下に停止位置の線（黄・赤・青）が出ます。"
    "赤い線が画面のいちばん下に来たところが停止位置です。黄から青の間（前後 2m）に止まれば停車したことになります。</li>");
  p("<li>停止位置の目標（ホームの「停止位置」の標識）が画面の左下に来たところで止まります。</li>");
  p("<li>停車するとドアが開き、到着の案内が流れます。時刻表（右側）の発車時刻になると発車メロディが鳴り、ドアが閉まります。</li>");
  p("<li>行き過ぎたときは止まってから逆転器を後（<b>b</b>）にして戻ります。</li>");
  p("<li>終点に止まって案内が終わると、運転は終わってタイトル画面に戻ります。</li>");
  p("</ul>");

  p("<h2>4. 信号・標識・喚呼</h2>");
  p("<p>信号は先行列車の位置によって、停止（赤）・警戒（黄黄、25km/h）・注意（黄、45km/h）・減速（黄緑、65km/h）・進行（緑）を示します。"
    "出発信号機は発車の時刻まで停止を示します。<b>Enter</b> キーで信号・標識・踏切・時刻を喚呼できます。"
    "トンネルの手前には汽笛の標識があります。警笛は <b>3</b> です。</p>");
  p("<p>ATS: 停止信号に近づくと警報ベルが鳴ります。<b>スペース</b>キーで確認し、停止信号の手前で止まってください。"
    "確認しないと非常ブレーキがかかります。非常ブレーキがかかったら、停車してから非常位置で <b>r</b> キーで復帰します。</p>");

  p("<h2>5. キー一覧</h2>");
  p("<table><tr><th>キー</th><th>はたらき</th></tr>");
  for (const KeyHelp& k : kDriveKeys) p("<tr><td>" + HtmlEscape(k.Key) + "</td><td>" + HtmlEscape(k.What) + "</td></tr>");
  for (const KeyHelp& k : kOtherKeys) p("<tr><td>" + HtmlEscape(k.Key) + "</td><td>" + HtmlEscape(k.What) + "</td></tr>");
  p("</table>");

  p("<h2>6. メニュー</h2>");
  p("<ul>");
  p("<li><b>運転</b>: 一時停止と再開。</li>");
  p("<li><b>駅へ移動</b>: 停車駅を選んでそこから運転します。</li>");
  p("<li><b>表示</b>: 操作説明、解説なし、かんたん運転台（マウスで運転するボタン）、喚呼なし、文字表示モード切り替え。</li>");
  p("<li><b>保存</b>: 運転の状態を三つまで保存し、あとで同じ路線で読み込めます。</li>");
  p("</ul>");

  p("<h2>7. コントローラ</h2>");
  p("<ul>");
  p("<li><b>標準/QZマスコン</b>: シリアルポート（9600bps, 8N1）につないだマスコン。送られる命令は mascon.dat の各行（5文字）です。"
    "上から 力行1～6、中立、ブレーキ1～9、逆転器 前・中・後、ATS確認、警笛、ドア、車内放送。</li>");
  p("<li><b>Windows用電車でGO! コントローラ</b>、<b>PS用電車でGO! コントローラ</b>（変換アダプタ経由）、"
    "<b>ワンハンドルコントローラ</b>: USB のゲームコントローラとして読み取ります。</li>");
  p("<li>キーボードはどのコントローラを選んでいても使えます。</li>");
  p("</ul>");
  p("<h2>8. データについて</h2>");
  p("<p>このフォルダの路線・映像・音はすべてこのプログラムのために作ったもので、自由に改造して試せます。"
    "文字のファイルは Shift-JIS、改行は CR LF です。</p>");
  p("</body>");
  p("</html>");
  return t;
}

}  // namespace kavrin::demo
