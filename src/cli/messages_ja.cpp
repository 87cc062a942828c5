// morlo-cli's texts in Japanese; where the window has a text, it is the window's own.
#include "cli/messages.h"
#include "convert/run_texts.h"

#include <array>
#include <cstddef>
#include <iterator>

namespace {

using M = Message;
using F = FindingText;

// The texts one after the other, as one text made when compiling.
template <std::size_t... sizes>
constexpr std::array<char, (sizes + ...) - sizeof...(sizes) + 1> joined(const char (&... texts)[sizes])
{
    std::array<char, (sizes + ...) - sizeof...(sizes) + 1> result{};
    std::size_t at = 0;
    for (const char* text : {static_cast<const char*>(texts)...}) {
        while (*text != '\0')
            result[at++] = *text++;
    }
    return result;
}

// The window's own texts, with morlo-cli's answers and its count of skipped files.
constexpr auto question =
    joined("$0", existsReplaceQuestion, " (y=はい n/Enter=いいえ a=以降すべて上書き s=以降すべてスキップ) ");
constexpr auto endLine = joined(endLineBeforeSuccesses, "$0", endLineBeforeFailures, "$1", endLineAfterFailures);
constexpr auto endLineSkipped =
    joined(endLineBeforeSuccesses, "$0", endLineBeforeFailures, "$1", "個 スキップ:$2", endLineAfterFailures);

constexpr MessageRow messages[] = {
    {M::UsageStart, "使い方: "},
    {M::UsageOtherOptions, "[ほかは上と同じ]"},
    {M::HelpLoops, "ループを繰り返す回数 (0-$0、既定 $1)"},
    {M::HelpFade, "最後のフェードアウトの秒数 (0-$0、既定 $2)"},
    {M::HelpFullFade, "フェードアウトを S 秒すべて続け、そのために必要なだけループを続ける\n"
                      "(付けなければ、フェードアウトは長くてもループ一回分)"},
    {M::HelpOnly, "書き出す (探す) 曲の番号、例えば 0,2-4 (既定: すべて)"},
    {M::HelpYes, "既にある出力ファイルを尋ねずに上書きする"},
    {M::HelpSkipExisting, "既にある出力ファイルを尋ねずにそのまま残す"},
    {M::HelpFormat, "wav、flac、ogg のどれか (既定 wav): ファイル名の拡張子もそれに従う"},
    {M::HelpQuality, "Ogg Vorbis の品質、-1 から 10 (既定 $3)"},
    {M::HelpStdout, "選んだ一曲をファイルの代わりに標準出力へ書き出す"},
    {M::HelpJson, "行の代わりに JSON 文書 (UTF-8) をひとつ出力する。convert では、選んだ各曲の\n"
                  "結果を最後に出力する"},
    {M::HelpTags, "曲名、アルバム名、トラック番号を各ファイルに書き込む (WAVE: INFO と ID3、\n"
                  "FLAC と Ogg: TITLE、ALBUM、TRACKNUMBER、TRACKTOTAL、ENCODER)。\n"
                  "list では、そのようなファイルの大きさ"},
    {M::HelpLoopPoints, "ずっとループ再生するプレーヤー向けに、ループ位置をファイルに記録する\n"
                        "(WAVE: smpl チャンク、FLAC と Ogg: LOOPSTART と LOOPLENGTH)。list では、その大きさ"},
    {M::HelpPlaylist, "プレイリスト (UTF-8) も出力フォルダに書く: 実行後にファイルがある曲 (書き出した\n"
                      "曲と残した曲)。既にあるプレイリストを答え n か s で残しても失敗にはならない"},
    {M::HelpJobs, "同時にエンコードする FLAC・Ogg ファイルの数 (1-$0、既定: プロセッサの数)。\n"
                  "WAVE と --stdout は一曲ずつ書き出す"},
    {M::HelpNear, "ループの始まりと長さのおおよその秒数 (例 12.5,64): それぞれ前後 2 秒以内を\n"
                  "探す。ループを一回分しか含まないデータには必要"},
    {M::HelpMinLength, "探すループの最短の秒数 (既定 $4)"},
    {M::HelpMaxLength, "探すループの最長の秒数 (既定: データ全体)"},
    {M::HelpHelp, "この説明を表示する"},
    {M::HelpLength, "各曲を少なくともこの長さにする (M:SS か H:MM:SS、例えば 3:00): 曲ごとに、\n"
                    "それに届く最小のループ回数 (0-$0) を選ぶ。--loops とは一緒に使えない"},
    {M::HelpSplit, "各曲をイントロの NAME-intro.EXT とループ一回分 (フェードアウトなし) の\n"
                   "NAME-loop.EXT の二つのファイルに分けて書き出す (二つ目のファイルをループ\n"
                   "再生するエンジン向け)。イントロのない曲はループのファイルだけ"},
    {M::HelpTagText, "--tags で WAVE ファイルの INFO に書く文字を sjis (既定。日本語の Windows の\n"
                     "プログラムが読む) か utf8 (Linux の多くのプレーヤーが読む) にする。\n"
                     "ほかのタグはどちらでも UTF-8"},
    {M::HelpTitleNames, "ファイル名を「NN 曲名.拡張子」(トラック番号、空白、曲名全体) にする。\n"
                        "Windows のファイル名に使えない文字は _ に置き換える"},
    {M::NoCommand, "コマンドがありません"},
    {M::UnknownCommand, "'$0' というコマンドはありません"},
    {M::UnknownOption, "'$0' というオプションはありません"},
    {M::NeedsValue, "$0 には値が要ります"},
    {M::TakesValue, "$0 には$1を指定します('$2' は使えません)"},
    {M::ValueNumber, "0 以上の整数"},
    {M::ValueFolder, "フォルダ"},
    {M::ValuePieceList, "曲番号の並び"},
    {M::ValueFileName, "ファイル名"},
    {M::ValueFormat, "wav、flac、ogg のどれか"},
    {M::ValueQuality, "-1 から 10 までの数"},
    {M::ValueJobs, "1 から 999 までの数"},
    {M::TwoDefinitions, "定義ファイルが二つ以上あります"},
    {M::NoDefinition, "定義ファイルがありません"},
    {M::StdoutTakesNoFiles, "--stdout はファイルを書かないので、--out も --playlist も取りません"},
    {M::ConvertNeedsFolders, "convert には --bgm DIR と --out DIR (または --stdout) が要ります"},
    {M::CheckNeedsBgm, "check には --bgm DIR が要ります"},
    {M::YesAndSkip, "--yes と --skip-existing は一緒に使えません"},
    {M::BadPieceList, "曲番号の並び '$0' が読めません"},
    {M::NoSuchPiece, "$0番の曲はありません: 曲の番号は0から$1までです"},
    {M::NoPieces, "$0番の曲はありません: 定義に曲がありません"},
    {M::StdoutOnePiece, "--stdout は一曲だけ書き出します: --only N で選んでください"},
    {M::ArgumentNotText, "$0番目の引数が読めません: 文字にならない UTF-16 サロゲートの片割れを含みます"},
    {M::ValueNear, "秒数の START,LENGTH"},
    {M::ValueSeconds, "0 より大きい秒数"},
    {M::LengthsCrossed, "--max-length が --min-length より短くなっています"},
    {M::FindLoopNeedsBgm, "定義ファイルの find-loop には --bgm DIR が要ります"},
    {M::AudioTakesNoPieces, "音声ファイルは全体を探します: --bgm や --only は使えません"},
    {M::AudioUnreadable, "$0 はループ定義ファイルでも読める音声ファイルでもありません"},
    {M::AudioNotPcm, "$0 には 8・16・24・32 ビットの PCM サンプルがありません"},
    {M::ValueLength, "M:SS か H:MM:SS の長さ (例えば 3:00)"},
    {M::LoopsAndLength, "--loops と --length は一緒に使えません"},
    {M::StdoutTakesNoJson, "--stdout は曲を標準出力に書くので、--json は取りません"},
    {M::SplitTakesNo, "--split はイントロとループ一回分をフェードアウトなしでファイルに書き出すので、$0 は取りません"},
    {M::NotForCommand, "$0 は $1 のオプションではありません"},
    {M::SeeUsage, "使い方は '$0' で表示できます。"},
    {M::CountLimited, "$0 $1 は $2 として扱います"},
    {M::StdoutIsTerminal, "標準出力が端末です: --stdout は曲のデータをそのまま書き出すので、ファイルかパイプに送ってください"},
    {M::ValueTagText, "sjis か utf8"},
    {M::TagTextWithoutTags, "--tag-text は --tags の書き方を選ぶので、--tags と一緒に使います"},
    {M::NotDefinition, "$0 はループ定義ファイルではありません($1)"},
    {M::PathTooLong, "パスが長すぎます"},
    {M::IsFolder, "フォルダです"},
    {M::NotRegularFile, "通常のファイルではありません"},
    {M::LargerThan, "$0 MiB より大きいファイルです"},
    {M::Unreadable, "読み込めません"},
    {M::DoesNotExist, "存在しません"},
    {M::IsEmpty, "空のファイルです"},
    {M::NoAlbumTitle, "[album] に title がありません"},
    {M::TotalsLine, "合計時間 : $0 合計サイズ : $1"},
    {M::NotWritable, "出力不可"},
    {M::SizeNotKnown, "書くまで不明"},
    {M::CheckSummary, "$0を検査: $1、$2"},
    {M::CheckSummaryNotes, "$0を検査: $1、$2、$3"},
    {M::PieceOne, "$0曲"},
    {M::PieceMany, "$0曲"},
    {M::ErrorOne, "エラー$0件"},
    {M::ErrorMany, "エラー$0件"},
    {M::WarningOne, "警告$0件"},
    {M::WarningMany, "警告$0件"},
    {M::NoteOne, "注記$0件"},
    {M::NoteMany, "注記$0件"},
    {M::OutputMissing, "出力フォルダ $0 は存在しません"},
    {M::OutputNotFolder, "出力先 $0 はフォルダではありません"},
    {M::OutputNotWritable, "出力フォルダ $0 には書き込めません"},
    {M::ShortOfSpace, "曲には $0 バイト要りますが、出力フォルダの空きは $1 バイトです。入る曲は書き出します"},
    {M::Question, question.data()},
    {M::AnswerAgain, "y、n、a、s のどれかで答えてください(Enter は n)。"},
    {M::NotReplaced, "$0は存在します。置き換えませんでした(置き換えるには --yes、残すには --skip-existing)"},
    {M::KeptExisting, "$0は存在します。そのまま残しました"},
    {M::CancelledPartLeft, "中止しました。書きかけの曲のファイルを消せませんでした"},
    {M::CancelledClean, "中止しました。それまでに書いた曲は残り、書きかけの曲はファイルを残さず、何も置き換えていません"},
    {M::CancelledStandardOutput, "中止しました。標準出力には曲の一部が出ています"},
    {M::EndLine, endLine.data()},
    {M::EndLineSkipped, endLineSkipped.data()},
    {M::LoopRepeat, "繰り返し: データはループを複数回含みます。候補 (良い順):"},
    {M::LoopOnePass, "一回分: データはループを一回含み、そこで終わります。指定付近の最良のつなぎ目 (良い順、\n"
                     "  繰り返しが見えないため推定):"},
    {M::LoopCandidateLine, "$0. 開始 $1 フレーム ($2)、長さ $3 フレーム ($4)、確からしさ $5、つなぎ目 $6"},
    {M::SeamNotMeasured, "測定なし"},
    {M::DefinitionLoopSame, "定義のループは最良の候補と同じです"},
    {M::DefinitionLoopOff, "定義のループと最良の候補の差: 開始 $0 フレーム ($1 ms)、長さ $2 フレーム ($3 ms)"},
    {M::LoopNotFound, "見つかりません ($0): $1"},
    {M::ReasonSilent, "データが無音です"},
    {M::ReasonTooShort, "データが探すループの最短 (--min-length) より短いです"},
    {M::ReasonNoRepeat, "音楽が繰り返しません: データが一回分だけか、ループしない曲です。一回分なら\n"
                        "  --near START,LENGTH で最良のつなぎ目を探せます"},
    {M::ReasonNothingNear, "--near の指定付近にデータのループがありません"},
    {M::ReasonBgmMissing, "BGM ファイル $0 を開けません"},
    {M::ReasonBgmShort, "BGM ファイル $0 が曲のデータの途中で終わっています"},
    {M::FailNoSuchPiece, "定義にない曲です"},
    {M::FailNameLost, "出力名に Shift-JIS にない文字があります"},
    {M::FailNameLeavesFolder, "出力名がただのファイル名ではありません"},
    {M::FailLoopPastData, "ループが曲のデータの外まで届いています"},
    {M::FailTooLarge, "出力が WAVE ファイルの上限より大きくなります"},
    {M::FailSourceMissing, "BGM ファイル $0 を開けません"},
    {M::FailShortSource, "BGM ファイル $0 は曲のデータの途中で終わっています"},
    {M::FailOverwriteRefused, "出力ファイルが存在するので残しました"},
    {M::FailOutputReadOnly, "出力ファイルは存在して読み取り専用なので残しました"},
    {M::FailCannotCreate, "出力ファイルを作れません"},
    {M::FailWriteFailed, "出力ファイルの書き込みに失敗しました(ディスクがいっぱいでは？)。何も置き換えていません"},
    {M::FailCannotRename, "書き終えたファイルを出力名にできませんでした。何も置き換えていません"},
    {M::FailCannotRemove, "書き出せず、書きかけのファイル(末尾 $0)も消せませんでした"},
    {M::FailFormatCannotHold, "この形式には曲が収まりません"},
    {M::FailReaderGone, "標準出力が閉じられました"},
    {M::FailOther, "失敗しました"},
    {M::FormatChannels, "$0 に入るのは1から$1チャンネルですが、曲は$2チャンネルです"},
    {M::FormatBits, "$0 は 8、16、24、32 ビットのサンプルから書き出しますが、曲は$1ビットです"},
    {M::FlacNoMemory, "libFLAC にエンコーダーのためのメモリがありません"},
    {M::FlacBits, "このシステムの libFLAC は $0 ビットのサンプルを書けません"},
    {M::FlacRate, "FLAC は毎秒 $0 フレームのレートを収められません"},
    {M::FlacRefuses, "libFLAC が曲の形式を受け付けません"},
    {M::VorbisRate, "Vorbis エンコーダーは毎秒 $0 フレームを受け付けません"},
};

constexpr FindingRow findings[] = {
    {F::NameNotPlain, "出力名 '$0' はただのファイル名ではなく、出力フォルダの外に出ます"},
    {F::NameLost, "出力名 '$0' に Shift-JIS にない文字があります(? と読みました)。名前は Shift-JIS なので、この曲は"
                  "出力されません"},
    {F::LoopPastData, "ループは $0 バイト目で終わります(loop_start + loop_size)が、曲のデータは $1 バイトしかありません"
                      "(wave_size)"},
    {F::TooLarge, "ループ$0回、フェード$1秒ではファイルが $2 バイトになります。WAVE ファイルは 4,294,967,295 "
                  "バイトまでです"},
    {F::SameOutput, "$0番の曲と同じファイル('$1')に書きます。両方を出力すると、こちらがそのファイルの上書きを尋ねます"},
    {F::SameOutputByCase, "出力名が$0番の曲の出力名('$1')と大文字・小文字だけ違います。Windows や、FAT のように大文字と小文字を"
                          "区別しないファイルシステムでは同じファイルになり、両方を出力すると、こちらがそのファイルの上書きを尋ねます"},
    {F::NameCut, "出力名 '$0' は名前の上限の15バイトちょうどです。途中で切れたのでしょう"},
    {F::NoWavEnding, "出力名 '$0' は .wav で終わっていません"},
    {F::NothingBeforeWav, "出力名 '$0' には .wav の前に名前がありません"},
    {F::TitleCut, "曲名は上限の255バイトちょうどです。途中で切れたのでしょう"},
    {F::TextLost, "$0 '$1' に Shift-JIS にない文字があります。それぞれ ? として書き込まれます"},
    {F::BgmOutsideFolder, "BGM ファイル '$0' は BGM フォルダの外にあります(絶対パス、ドライブ付き、または .. "
                          "入り)。それでも読み込みます"},
    {F::NoChannels, "fmt_channels が 0 です"},
    {F::UnusualBits, "fmt_bits が $0 です。普通は 8、16、24、32 のどれかで、フェードするのもそれだけです"},
    {F::UnusualRate, "fmt_samples が $0 です。普通は 8000 から 192000 までです"},
    {F::Unaligned, "$0 の $1 はフレームの大きさ($2バイト)の倍数ではありません。フレームを分けるループは雑音になります"},
    {F::FormatDefault, "$0 の指定がないので、既定の $1 になります"},
    {F::BgmMissing, "BGM ファイル '$0' を開けません"},
    {F::BgmShort, "BGM ファイル '$0' は曲のデータの終わり($1 バイト目、wave_start + wave_size)より前で終わっています"},
    {F::LoopSeam, "ループのつなぎ目が跳んでクリック音がします: 測定値 $0(滑らかなら約1、$1を超えると指摘)。$2 ms "
                  "以内に、より滑らかなループの終わりはありません"},
    {F::LoopSeamSmoother, "ループのつなぎ目が跳んでクリック音がします: 測定値 $0(滑らかなら約1、$1を超えると指摘)。"
                          "より滑らかなのは loop_start=$2 loop_size=$3(開始 $4 フレーム、長さ $5 フレーム。開始を "
                          "$6 ms、終わりを $7 ms 移動。測定値 $8)"},
    {F::LoopSeamDataEnds, "ループのつなぎ目が跳んでクリック音がします: 測定値 $0(滑らかなら約1、$1を超えると指摘)。"
                          "データがループの終わりで終わっているため、短くする終わりしか試せません。$2 ms 以内に、"
                          "より滑らかな終わりはありません"},
    {F::LoopSeamDataEndsSmoother, "ループのつなぎ目が跳んでクリック音がします: 測定値 $0(滑らかなら約1、$1を超えると"
                                  "指摘)。データがループの終わりで終わっているため、短くする終わりしか試せません。"
                                  "より滑らかなのは loop_start=$2 loop_size=$3(開始 $4 フレーム、長さ $5 フレーム。"
                                  "開始を $6 ms、終わりを $7 ms 移動。測定値 $8)"},
    {F::LoopMusic, "ループの終わりから始まりへ曲が続いていません: 差 $0(同じ曲なら$1未満、無関係なら約1)。長さの違いが "
                   "$2 ms 以内で曲が続くループはありません"},
    {F::LoopMusicSuggested, "ループの終わりから始まりへ曲が続いていません: 差 $0(同じ曲なら$1未満、無関係なら約1)。"
                            "曲が続くのは loop_start=$2 loop_size=$3(開始 $4 フレーム、長さ $5 フレーム。開始を $6 ms、"
                            "終わりを $7 ms 移動)"},
    {F::LoopBytes, "データはフレーム $1 から $0 フレームごとにバイト単位で繰り返しますが、このループは違います"
                   "(周りの音に隠れた切れ目)。曲が続くのは loop_start=$2 loop_size=$3(開始 $4 フレーム、長さ $5 "
                   "フレーム。開始を $6 ms、終わりを $7 ms 移動)"},
    {F::UnreadAfterGap, "読まれないセクション($0個): $1。読み込みは最初の欠番 [$2] で止まります。music0000 "
                        "から欠番なしで番号を付けてください"},
    {F::UnreadAfterNoFile, "読まれないセクション($0個): $1。読み込みは file= の値がない [$2] で止まります"},
    {F::SavedAsUtf8, "このファイルは BOM なしの UTF-8 で保存されています。UTF-8 として読みました"},
};

static_assert(std::size(messages) == static_cast<std::size_t>(Message::count) && rowsInOrder(messages));
static_assert(std::size(findings) == static_cast<std::size_t>(FindingText::count) && rowsInOrder(findings));

} // namespace

const MessageTable japaneseTexts{messages, findings};
