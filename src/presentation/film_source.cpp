#include "presentation/film_source.h"

namespace kavrin {

std::string AviOpenMessage(int32_t code, std::string_view path) {
  switch (code) {
    case FilmSource::BadFormat: return "映像ファイルを開けません" + std::string(path);
    case FilmSource::NoMemory: return "メモリ不足";
    case FilmSource::ReadError: return "読み取りエラー";
    case FilmSource::OpenError: return "オープンエラー";
    case FilmSource::InfoError: return "FileInfoエラー";
    case FilmSource::NoVideo: return "GetStreamエラー";
    case FilmSource::NoDecoder: return "GetFrameOpenエラー";
    default: return {};
  }
}

}  // namespace kavrin
