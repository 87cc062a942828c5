#pragma once
// The run's texts that the progress window shows and morlo-cli's Japanese repeats word for word.
// They are narrow literals: Shift-JIS in the window program (code page 932), UTF-8 in morlo-cli.
// The end line is kept as the pieces around its two counts, since each side puts its numbers in
// its own way.

// "<path>は存在します\n上書きしますか？"
inline constexpr char existsReplaceQuestion[] = "は存在します\n上書きしますか？";

// "出力終了(成功:3個 失敗:0個)"
inline constexpr char endLineBeforeSuccesses[] = "出力終了(成功:";
inline constexpr char endLineBeforeFailures[] = "個 失敗:";
inline constexpr char endLineAfterFailures[] = "個)";
