#!/usr/bin/env bash
# Builds morlo and packs the archive for Windows users: morlo.exe, morlo-cli.exe, the example
# (definition and generated BGM file), the licences and a short read-me in Japanese and English.
#   scripts/release.sh            writes $MORLO_BUILD/release/morlo-VERSION-windows.zip
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
. "$top/scripts/env.sh"

"$top/scripts/build.sh"

version=$(sed -n 's/^project(morlo VERSION \([0-9.]*\).*/\1/p' "$top/CMakeLists.txt")
name="morlo-$version"
release="$MORLO_BUILD/release"
stage="$release/$name"
archive="$release/$name-windows.zip"
rm -rf "$stage" "$archive"
mkdir -p "$stage/example"

for program in "$MORLO_BUILD/windows/src/mainwindow/morlo.exe" "$MORLO_BUILD/windows/src/cli/morlo-cli.exe"; do
  if [ ! -f "$program" ]; then
    echo "release: $program was not built" >&2
    exit 1
  fi
  x86_64-w64-mingw32-strip -o "$stage/$(basename "$program")" "$program"
done
cp "$top/examples/sample.mrl" "$stage/example/"
cp "$top/LICENSE" "$stage/license.txt"
# The programs hold KissFFT, libogg, libvorbis and libFLAC, built from Debian's source packages:
# their notices go along.
source_of() { "$top/scripts/debian-source.sh" --where "$1"; }
cat "$(source_of kissfft)/COPYING" "$(source_of kissfft)/LICENSES/BSD-3-Clause" >"$stage/kissfft-license.txt"
cp "$(source_of libogg)/COPYING" "$stage/libogg-license.txt"
cp "$(source_of libvorbis)/COPYING" "$stage/libvorbis-license.txt"
cp "$(source_of flac)/COPYING.Xiph" "$stage/libflac-license.txt"
python3 "$top/examples/make_bgm.py" "$stage/example"

# UTF-8 with a byte-order mark and CRLF line ends, so Notepad shows both languages.
{
  printf '\xEF\xBB\xBF'
  sed 's/$/\r/' <<TEXT
morlo ver.$version

■ 日本語

morlo は、大きな BGM ファイルの中に生のサンプルデータとして収められた曲を、
そのまま再生できる WAVE ファイルに書き出す Windows 用の小さな道具です。

入っているもの
  morlo.exe            本体 (ウィンドウで操作します)
  morlo-cli.exe        コマンドプロンプトから使う変換プログラム
  example\\sample.mrl   見本のループ定義ファイル
  example\\sample.bgm   見本の BGM ファイル (三曲入り)
  license.txt          morlo の使用許諾 (MIT ライセンス)
  kissfft-license.txt  ループ探しに使う KissFFT (BSD-3-Clause) の著作権表示と条件
  libogg-license.txt, libvorbis-license.txt, libflac-license.txt
                       Ogg Vorbis と FLAC の読み書きに使う libogg、libvorbis、libFLAC
                       (いずれも BSD 形式) の著作権表示と条件
  readme.txt           このファイル

使い方
  1. morlo.exe を起動し、「ファイル」メニューの「定義ファイルを開く」で
     example\\sample.mrl を開きます (ウィンドウへのドラッグでも開けます)。
  2. 書き出す曲にチェックを付け、ループ回数とフェード秒数を決めます。
  3. 「ファイル」メニューの「WAVE出力」を選び、BGMフォルダに example フォルダを、
     出力フォルダに書き出し先を指定して「変換」を押します。
  4. 「出力終了」と表示されたら「閉じる」を押します。同じ名前のファイルがあるときは
     上書きするかどうかを尋ねます。
  途中で「キャンセル」を押すと (閉じるボタンでも) すぐに止まります。書き終えた曲の
  ファイルは残り、書きかけの曲のファイルは削除され、その後の曲には手を付けません。
  morlo-cli では Ctrl+C で同じように止まります。
  曲はまず「名前.morlo-unfinished」というファイルに書き、書き終えてから本来の名前に
  変えます。ディスクがいっぱいになったとき、キャンセルしたとき、途中で強制終了された
  ときも、壊れたファイルは残らず、上書きするはずだった元のファイルもそのまま残ります
  (強制終了のときは .morlo-unfinished のファイルが残ることがあり、次に同じ曲を
  書き出すときに削除されます)。読み取り専用のファイルは上書きしません。

「オプション」メニュー (起動するたびにすべてチェックなし、形式は WAVE)
  タグを書き込む       曲名・アルバム名・トラック番号を各ファイルに書き込みます
                       (INFO はシフト JIS、ID3 は UTF-8。INFO をシステムのコード
                       ページで読むプレーヤーでは、日本語以外の Windows で曲名が
                       文字化けして見えます)。
  ループ位置を書き込む ループの位置を smpl チャンクに書き込みます
                       (ループ再生に対応したプレーヤーやゲームエンジン向け)。
  フェードを最後まで   フェードアウトを指定した秒数の最後まで続けます (ループを
                       頭から繰り返しながら)。チェックしないときはフェードが
                       ループ一回分より長くならないため、ループの短い曲は
                       音が小さくなりきらないうちに終わります。
  WAVE / FLAC / Ogg Vorbis
                       「WAVE出力」で書き出す形式を選びます (印の付いた一つ)。
                       FLAC と Ogg Vorbis (品質 5) ではファイル名の拡張子が
                       .flac / .ogg になり、タグとループ位置は Vorbis コメント
                       (LOOPSTART と LOOPLENGTH など) になります。サイズは書き出す
                       までわからないため、一覧と合計には「書くまで不明」と出ます。
  一覧と合計の時間とサイズは、チェックした項目に合わせて変わります。

コマンドプロンプトでは:
  morlo-cli list example\\sample.mrl
  morlo-cli convert example\\sample.mrl --bgm example --out 出力先 --yes
  morlo-cli convert example\\sample.mrl --bgm example --out 出力先 --tags --loop-points --playlist album.m3u8
  morlo-cli convert example\\sample.mrl --bgm example --out 出力先 --fade 20 --full-fade
  (--playlist は出力先にファイルがある曲 (書き出した曲と残した曲) のプレイリスト
   (UTF-8) を出力先に作ります。
   --full-fade は「フェードを最後まで」と同じです)
  --yes の代わりに --skip-existing を付けると、既にあるファイルはそのまま残します。
  --split を付けると、各曲をイントロ (名前-intro.wav) とループ一回分 (名前-loop.wav、
  フェードなし) の二つのファイルに分けて書き出します (二つ目をループ再生するエンジン向け)。
  --format flac で FLAC、--format ogg で Ogg Vorbis (--quality -1〜10、既定 5) に
  書き出します。名前の拡張子は .flac / .ogg になり、--tags と --loop-points は
  Vorbis コメント (TITLE など、LOOPSTART と LOOPLENGTH) になります。
  FLAC と Ogg Vorbis は、プロセッサーの数だけの曲を同時にエンコードします (ウィンドウでも。
  morlo-cli では --jobs N で数を決められ、--jobs 1 で一曲ずつ)。書き出すファイルは同じです。
  --loops の代わりに --length 3:00 とすると、曲ごとに 3 分以上になる最小のループ回数を選びます。
  convert に --json を付けると、各曲の結果 (書き出し・失敗とその理由・スキップ) を最後に
  JSON で出力します。
  --title-names を付けると、ファイル名を「07 曲名.wav」のようにトラック番号と曲名全体にします
  (Windows のファイル名に使えない \\ / : * ? " < > | は _ になります)。
  --tags に --tag-text utf8 を付けると、WAVE の INFO の曲名とアルバム名を UTF-8 で書きます
  (Linux などの多くのプレーヤー向け。既定の sjis は日本語の Windows のプログラム向けです)。
  morlo-cli find-loop example\\sample.mrl --bgm example は、各曲のデータのどこで曲が
  繰り返すかを探し、定義に貼り付ける loop_start と loop_size を示します。
  morlo-cli の表示は Windows の表示言語に従います (日本語か英語)。コンソールには
  どのコードページでも正しく表示し、パイプやファイルには UTF-8 で書きます。

定義ファイルはシフト JIS のほか、UTF-8 (BOM の有無を問わず) や BOM 付きの UTF-16 で
保存したものもそのまま読めます。シフト JIS にない文字は「?」になり、出力名にそのような
文字がある曲は書き出しません (morlo-cli check が知らせます)。フォルダやファイルの名前には
どんな文字があってもかまいません (é や絵文字、𠮷 など)。日本語以外の Windows でも、
画面の文字、曲名、出力ファイル名は日本語の Windows と同じになります。

設定は保存しません。レジストリも使いません。不要になったらフォルダごと削除してください。

morlo は MIT ライセンスのフリーソフトウェアです (license.txt)。


■ English

morlo writes pieces of music that are stored as raw sample data inside large BGM files
as separate, ready-to-play WAVE files. It is a small Windows program.

Contents
  morlo.exe            the program (window)
  morlo-cli.exe        the same conversion from a command prompt
  example\\sample.mrl   an example loop definition file
  example\\sample.bgm   the example's BGM file (three pieces)
  license.txt          morlo's licence (the MIT licence)
  kissfft-license.txt  the copyright and terms of KissFFT (BSD-3-Clause), which finds loops
  libogg-license.txt, libvorbis-license.txt, libflac-license.txt
                       the copyright and terms of libogg, libvorbis and libFLAC (BSD-style),
                       which write and read Ogg Vorbis and FLAC
  readme.txt           this file

Use
  1. Start morlo.exe and open example\\sample.mrl with the File menu's open command
     (or drop the file on the window).
  2. Tick the pieces to write; choose the loop count and the fade-out seconds.
  3. Choose WAVE output in the File menu, enter the example folder as the BGM folder and
     a folder for the results as the output folder, and press the convert button.
  4. When the window says it has finished, close it. Existing files are replaced only
     after you answer yes to the question.
  Cancelling during a run (the cancel button or the close box) stops at once: finished
  files stay, the unfinished piece's file is removed and later pieces are not touched.
  Ctrl+C does the same in morlo-cli.
  Each piece is first written as "NAME.morlo-unfinished" and renamed when complete: a full
  disk, a cancel or a forced end never leaves a broken file and never loses the file it was
  to replace (after a forced end the .morlo-unfinished file may stay; the next run that
  writes the same piece removes it). Read-only files are not replaced.

The Options menu (all items unchecked and WAVE chosen at every start)
  Write tags           title, album and track number in each file (INFO in Shift-JIS,
                       ID3 in UTF-8; a player that reads INFO in the system's code page
                       shows its titles garbled on a Windows system that is not Japanese).
  Write loop points    the loop in a smpl chunk, for looping players and game engines.
  Fade to the end      the fade-out lasts all its seconds, the loop played on from its
                       start as often as it needs. Unchecked, the fade-out is never
                       longer than one loop, so a piece with a short loop ends before
                       it is quiet.
  WAVE / FLAC / Ogg Vorbis
                       the format the WAVE output command writes (the one marked).
                       FLAC and Ogg Vorbis (quality 5) name the files .flac or .ogg
                       and carry tags and loop points as Vorbis comments (LOOPSTART
                       and LOOPLENGTH among them). Their sizes are only known once
                       written, so the list and the totals say "書くまで不明".
  The times and sizes in the list and the totals follow the checked items.

From a command prompt:
  morlo-cli list example\\sample.mrl
  morlo-cli convert example\\sample.mrl --bgm example --out OUTPUT --yes
  morlo-cli convert example\\sample.mrl --bgm example --out OUTPUT --tags --loop-points --playlist album.m3u8
  morlo-cli convert example\\sample.mrl --bgm example --out OUTPUT --fade 20 --full-fade
  (--playlist also writes a playlist of the pieces whose files are in OUTPUT, written
   or kept, in UTF-8, into OUTPUT;
   --full-fade does what "Fade to the end" does)
  With --skip-existing instead of --yes, files that exist are kept as they are.
  --split writes each piece as two files, NAME-intro.wav (the introduction) and NAME-loop.wav
  (one pass of the loop, no fade), for game engines that loop the second file.
  --format flac writes FLAC and --format ogg Ogg Vorbis (--quality -1 to 10, default 5),
  the names ending in .flac or .ogg; --tags and --loop-points become Vorbis comments
  (TITLE and the rest, LOOPSTART and LOOPLENGTH).
  FLAC and Ogg Vorbis encode as many pieces at once as there are processors (in the window
  too; morlo-cli's --jobs N sets the number, --jobs 1 one at a time), writing the same files.
  --length 3:00 instead of --loops gives each piece the smallest loop count that plays at
  least 3 minutes. convert --json prints each piece's result (written, failed and why,
  skipped) as JSON at the end.
  --title-names names the files after the pieces, "07 TITLE.wav": the track number and the
  whole title (\\ / : * ? " < > |, which Windows refuses in names, become _).
  --tag-text utf8 with --tags writes the WAVE files' INFO title and album in UTF-8, as most
  players on Linux read them (the default, sjis, is what Windows programs on a Japanese
  system read).
  morlo-cli find-loop example\\sample.mrl --bgm example finds where each piece's music
  repeats and prints the loop_start and loop_size lines to paste into the definition.
  morlo-cli speaks the language of Windows' display (Japanese or English). It shows
  correctly on a console of any code page and writes UTF-8 to a pipe or a file.

Definitions may be saved as Shift-JIS, as UTF-8 (with or without a byte-order mark) or as
UTF-16 with a byte-order mark. A character Shift-JIS lacks reads as "?", and a piece whose
output name holds one is not written (morlo-cli check tells). Folder and file names may hold
any character (é, emoji, 𠮷). On a Windows that is not Japanese, the window's texts, the
titles and the output names are exactly those of a Japanese Windows.

morlo stores no settings and uses no registry keys; to remove it, delete its folder.

morlo is free software under the MIT licence (license.txt).
TEXT
} >"$stage/readme.txt"

(cd "$release" && rm -f "$archive" && TZ=UTC zip -q -X -r "$archive" "$name")
echo "release: $archive"
zip -sf "$archive"
