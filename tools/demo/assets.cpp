#include "demo/assets.h"

#include <set>

namespace kavrin::demo {

namespace {

std::string DirName(Dir d) { return d == Dir::Down ? "down" : "up"; }

std::string Lower(std::string s) {
  for (char& c : s) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return s;
}

SoundFile Voice(const std::string& file, const std::string& speech) { return {file, speech, ""}; }
SoundFile Made(const std::string& file, const std::string& synth) { return {file, "", synth}; }

}  // namespace

std::vector<SoundFile> RouteSounds(const Route& r) {
  const std::string d = "sound/line1/" + DirName(r.Direction) + "/";
  const RouteStation& first = r.Stations.front();
  const RouteStation& second = r.Stations[1].TrnType == 0 ? r.Stations[1] : r.Stations[2];
  const RouteStation& last = r.Stations.back();
  std::vector<SoundFile> s(kRouteSoundCount);
  s[kStartChime] = Made("sound/line1/chime.wav", "chime");
  s[kMelodyFirst] = Made("sound/line1/melody_" + Lower(first.Roman) + ".wav", "melody:" + first.Roman);
  s[kMelodySecond] = Made("sound/line1/melody_" + Lower(second.Roman) + ".wav", "melody:" + second.Roman);
  s[kArrivalSecond] = Voice(d + "arrive_" + Lower(second.Roman) + ".wav",
                            second.Kana + "、 " + second.Kana + "。 おでぐちわ ひだりがわ です。");
  s[kArrivalLast] = Voice(d + "arrive_" + Lower(last.Roman) + ".wav",
                          last.Kana + "、 " + last.Kana + "、 しゅうてん です。 おわすれものの ないよう ごちゅうい ください。");
  s[kPlatform] = Made("sound/line1/platform.wav", "platform");
  s[kTunnel] = Made("sound/line1/tunnel.wav", "tunnel");
  s[kCountry] = Made("sound/line1/country.wav", "country");
  s[kCrossingBell] = Made("sound/line1/crossing.wav", "crossing");
  s[kPassBell] = Made("sound/line1/passbell.wav", "passbell");
  s[kNextSecond] = Voice(d + "next_" + Lower(second.Roman) + ".wav", "つぎわ、 " + second.Kana + " です。");
  s[kNextLast] = Voice(d + "next_" + Lower(last.Roman) + ".wav", "つぎわ、 しゅうてん、 " + last.Kana + " です。");
  s[kWelcome] = Voice(d + "welcome.wav", std::string("ごじょうしゃ ありがとう ございます。 この でんしゃわ、 しらさぎせん、 ") +
                                              last.Kana + " ゆき です。");
  s[kOverrun] = Voice("sound/line1/overrun.wav", "ていしいちを なおしました。 ドアが ひらきます。");
  s[kOverrunStop] = Voice("sound/line1/overrun_stop.wav", "ていしいちを すぎました。 しょうしょう おまち ください。");
  s[kCarHum] = Made("sound/line1/carhum.wav", "carhum");
  s[kSoonLast] = Voice(d + "soon_" + Lower(last.Roman) + ".wav", "まもなく、 " + last.Kana + "、 " + last.Kana + " です。");
  return s;
}

std::vector<SoundFile> FixedVoices() {
  // The meaning of each index is fixed: signal aspects 0 to 5, time differences 6 to 12 in
  // steps of 15 s, late, early and on time in two wordings, doors closed, departure and the
  // high-speed clear aspect.
  static const char* kSpeech[22] = {
      "ていし",          "けいかい",        "ちゅうい",        "げんそく",
      "しんこう",        "ちゅうけい せいげん", "じゅうごびょう",  "さんじゅうびょう",
      "よんじゅうごびょう", "いっぷん",       "いっぷん じゅうごびょう", "いっぷん さんじゅうびょう",
      "いっぷん よんじゅうごびょう", "おくれ",  "じこく おくれ",   "はや",
      "じこく はや",     "ていじ",          "じこく よし",     "とじめ よし",
      "はっしゃ",        "こうそく しんこう",
  };
  std::vector<SoundFile> v;
  for (int i = 0; i < 22; ++i) {
    char name[32];
    std::snprintf(name, sizeof name, "sound/kanko/k%02d.wav", i);
    v.push_back(Voice(name, kSpeech[i]));
  }
  return v;
}

std::vector<SoundFile> ExtraVoices() {
  return {Voice("sound/kanko/shuppatsu.wav", "しゅっぱつ"), Voice("sound/kanko/jounai.wav", "じょうない"),
          Voice("sound/kanko/heisoku.wav", "へいそく"),     Voice("sound/kanko/chuukei.wav", "ちゅうけい"),
          Voice("sound/kanko/dai1.wav", "だいいち"),        Voice("sound/kanko/dai2.wav", "だいに"),
          Voice("sound/kanko/fumikiri.wav", "ふみきり よし")};
}

std::vector<SoundFile> SignVoices() {
  return {Voice("sound/kanko/jikoku.wav", "じこく"), Voice("sound/kanko/kiteki.wav", "きてき"),
          Voice("sound/kanko/sekkin.wav", "ていしゃじょう せっきん")};
}

std::vector<SoundFile> LimitVoices() {
  return {Voice("sound/kanko/seigen.wav", "せいげん"), Voice("sound/kanko/seigen45.wav", "せいげん よんじゅうご"),
          Voice("sound/kanko/kaijo.wav", "せいげん かいじょ"), Voice("sound/kanko/seigen65.wav", "せいげん ろくじゅうご"),
          Voice("sound/kanko/kaijo.wav", "せいげん かいじょ")};
}

std::vector<SoundFile> AllLineSounds(const std::vector<Route>& routes) {
  std::vector<SoundFile> all;
  std::set<std::string> seen;
  auto add = [&](const std::vector<SoundFile>& list) {
    for (const SoundFile& s : list) {
      if (seen.insert(s.File).second) all.push_back(s);
    }
  };
  for (const Route& r : routes) add(RouteSounds(r));
  add(FixedVoices());
  add(ExtraVoices());
  add(SignVoices());
  add(LimitVoices());
  return all;
}

RoutePictures PicturesOf(const Route& r) {
  const std::string d = DirName(r.Direction);
  RoutePictures p;
  p.Staf = "image/line1/staf_" + d + ".png";
  p.Start = "image/line1/start_" + d + ".png";
  p.Sub = "image/line1/map_" + d + ".png";
  p.StopMarker = "image/line1/stop_" + d + ".png";
  p.StopLineS = "image/sign/stopline_s.bmp";
  p.StopLineM = "image/sign/stopline_m.bmp";
  p.StopLineE = "image/sign/stopline_e.bmp";
  p.Slope = "image/line1/slope_" + d + ".png";
  p.Limit = "image/line1/limit.png";
  p.Remain = "image/sign/remain.png";
  p.Cross = "image/sign/cross.png";
  p.Other = "image/sign/other.png";
  p.Signal = "image/signal/signal.png";
  p.SubS = "image/line1/plate_" + d + ".png";
  p.SubL = "image/signal/sub_l.png";
  p.SubR = "image/signal/sub_r.png";
  return p;
}

std::string RouteFileName(Dir dir, bool diesel) {
  return std::string("line_1_") + DirName(dir) + "_day" + (diesel ? ".dat0" : ".dat");
}

std::string FilmBaseName(Dir dir) { return "line_1_" + DirName(dir); }

std::string InsertBaseName(const Route& route, const RouteInsert& insert) {
  return FilmBaseName(route.Direction) + "_" + Lower(route.Stations[static_cast<size_t>(insert.Station)].Roman);
}

}  // namespace kavrin::demo
