#include "app/CommandHelp.h"

#include <algorithm>
#include <string>

namespace corvane {
namespace {

constexpr unsigned kAllCommands = kInfoCommand | kRenderCommand | kLegendCommand | kAnalyzeCommand | kProfileCommand;

constexpr CommandOption kOptions[] = {
    {"--settings", nullptr, "FILE", kAllCommands,
     "設定ファイル (既定: 実行ファイルと同じフォルダの crv.ini、無ければ $XDG_CONFIG_HOME/corvane/crv.ini)。"
     "値の読めない行があれば、その行と値を示して終了状態 1 で終わる"},
    {"--set", nullptr, "NAME=VALUE", kAllCommands,
     "コントロール NAME に VALUE を入れる (例 BrushCheck=1, RGroup=5)。繰り返し可、設定ファイルの後に順に効く"},
    {"--output", "-o", "OUT", kRenderCommand | kLegendCommand | kAnalyzeCommand | kProfileCommand,
     "出力ファイル。画像は拡張子で形式が決まる (.bmp .emf .jpg .png .pdf .svg、profile は .csv .png .svg .pdf)"},
    {"--size", nullptr, "WxH", kRenderCommand | kProfileCommand,
     "画像の幅と高さ (画素, 1..20000)。既定は設定ファイルのプロット窓の大きさから (profile は 800x600)"},
    {"--formula", nullptr, "'NAME=EXPR'", kAllCommands,
     "計算式で変数を追加する (例 'Cp=(P-101325)/(0.5*1.2*170^2)')。変数名、x、y、pi、+ - * / ^、sqrt exp log abs min max if など。"
     "繰り返し可、設定ファイルの FORMULA の後に順に効く"},
    {"--line", nullptr, "Z:j=N[:i=A..B][,...]", kProfileCommand,
     "格子線に沿う線: 領域 Z の j=N (または i=N) の線、範囲は i=A..B (max は最後)。\",\" で区切った線はつないで一本にする"
     " (例 0:j=0,1:j=0,2:j=0)。繰り返すと曲線が増える"},
    {"--segment", nullptr, "x1,y1,x2,y2", kProfileCommand, "線分 (x1,y1)-(x2,y2) が格子線と交わる点で値を取る。繰り返し可"},
    {"--var", nullptr, "NAME", kProfileCommand, "縦軸の変数 (ファイルの変数、計算式の変数、マッハ数、全圧、渦度、速さ)。繰り返し可。CSV で省くと全変数"},
    {"--against", nullptr, "x|y|s", kProfileCommand, "横軸: x 座標、y 座標、線に沿った距離 s (既定 s)"},
    {"--reverse-y", nullptr, nullptr, kProfileCommand, "縦軸を反転する (上が負、Cp の図の描き方)"},
    {"--view", nullptr, "fit|fit-first|settings", kRenderCommand,
     "表示範囲: fit は各データに合わせる (既定)、fit-first は最初のデータに合わせて以後そのまま、settings は設定の中心と倍率"},
    {"--seed", nullptr, "N", kRenderCommand, "ラベル位置を決める乱数の種 (同じ種なら同じ絵になる)"},
    {"--series", nullptr, nullptr, kRenderCommand,
     "DATA を一つの時系列として描き、-o のアニメーション (.webp, .gif) か連番の PNG (フォルダ/) に書く。"
     "複数の時刻を持つ Tecplot ファイルは時刻ごとに一枚。表示範囲は最初の時刻に合わせて以後そのまま"},
    {"--fps", nullptr, "N", kRenderCommand, "時系列のアニメーションの一秒あたりの枚数 (1..100, 既定 10)"},
    {"--same-range", nullptr, nullptr, kRenderCommand, "時系列の全時刻で同じ等高線範囲 (各時刻の自動範囲を合わせたもの) を使う"},
    {"--json", nullptr, nullptr, kInfoCommand, "結果を一つの JSON オブジェクトで出力する"},
    {"--node", nullptr, "Z,I,J", kInfoCommand, "領域 Z の格子点 (I, J) の座標と値も出力する (0 から数える、繰り返し可)"},
    {"--help", "-h", nullptr, kAllCommands, "この説明を表示して終了する"},
};

struct CommandText {
  const char* name;
  unsigned bit;
  const char* usage;    // the line after "使い方: "
  const char* purpose;  // what it does
  const char* example;
};

constexpr CommandText kCommands[] = {
    {"info", kInfoCommand, "corvane info DATA... [options]",
     "データファイルを読み込み、領域・格子点数・変数・範囲と各変数の等高線範囲を表示します。\n"
     "DATA が複数なら、最初のファイルの内容に加えて、時系列としてのコマ (ファイル、時刻) を表示します。",
     "corvane info samples/airfoil.dat --set IncludeVelCheck=1 --node 0,0,0"},
    {"render", kRenderCommand, "corvane render DATA... [options]",
     "データファイルを読み込み、プロット窓と同じ絵を描いて画像ファイルに保存します。\n"
     "-o が無ければ DATA の拡張子を .bmp にした名前で、DATA が複数なら -o は出力先のフォルダです。\n"
     "入力ファイル (データ、設定) と同じファイルには保存せず、終了状態 1 で知らせます。",
     "corvane render samples/airfoil.dat --settings samples/airfoil.ini --view settings --set RGroup=4 "
     "--set BrushCheck=1 -o airfoil.pdf"},
    {"legend", kLegendCommand, "corvane legend DATA [options] -o OUT",
     "選んだ変数 (RGroup) の等高線範囲で凡例 (カラーバー) を作り、画像ファイルに保存します。\n"
     "凡例窓のコントロールは TLegendForm.名前 で指定します。",
     "corvane legend samples/airfoil.dat --set IncludeVelCheck=1 --set RGroup=4 --set TLegendForm.LegendYoko=1 "
     "-o legend.svg"},
    {"analyze", kAnalyzeCommand, "corvane analyze DATA [options] -o OUT",
     "二点 (P1, P2) を結ぶ線分が格子線と交わる点ごとに選んだ変数の値を求め、テキストファイルに書きます。",
     "corvane analyze samples/airfoil.dat --set P1Direct=1 --set P1x=-1 --set P1y=0.5 --set P2Direct=1 "
     "--set P2x=2 --set P2y=0.5 -o cut.txt"},
    {"profile", kProfileCommand, "corvane profile DATA... (--line Z:j=N[,...] | --segment x1,y1,x2,y2)... --var NAME... [--against x|y|s] -o OUT",
     "壁や切断線に沿った変数の分布を、CSV (.csv) か分布図の画像 (.png .svg .pdf) に書きます。\n"
     "DATA ごと、線ごとに一本の曲線になります。CSV は見出し行 curve,s,x,y,変数... と 17 桁の数値で、curve は曲線の番号 (1 から)。",
     "corvane profile samples/airfoil.dat --settings samples/airfoil.ini --formula 'Cp=(P-101325)/(0.5*1.2*170^2)' "
     "--line 0:j=0,1:j=0,2:j=0 --var Cp --against x --reverse-y -o cp.pdf"},
};

const CommandText* FindCommand(std::string_view name) {
  for (const CommandText& c : kCommands)
    if (name == c.name) return &c;
  return nullptr;
}

// "-o, --output OUT" as the left column of the option list.
std::string OptionColumn(const CommandOption& o) {
  std::string s = o.shortName ? std::string(o.shortName) + ", " : std::string("    ");
  s += o.name;
  if (o.value) s += std::string(" ") + o.value;
  return s;
}

}  // namespace

const CommandOption* FindCommandOption(std::string_view arg) {
  for (const CommandOption& o : kOptions)
    if (arg == o.name || (o.shortName && arg == o.shortName)) return &o;
  return nullptr;
}

unsigned CommandBitOf(std::string_view command) {
  const CommandText* c = FindCommand(command);
  return c ? c->bit : 0;
}

std::string GeneralHelpText() {
  std::string s =
      "使い方:\n"
      "  corvane [--settings FILE] [--set NAME=VALUE]... [[--open] DATA]...\n"
      "                                             デスクトッププログラム (DATA があれば読み込んで描画、複数なら時系列)\n";
  for (const CommandText& c : kCommands) s += "  " + std::string(c.usage) + "\n";
  s +=
      "  corvane --version                          版を表示\n"
      "  corvane COMMAND --help                     COMMAND のオプションと例\n"
      "options: --settings FILE   --set NAME=VALUE (繰り返し可)   --formula 'NAME=EXPR' (繰り返し可)\n";
  return s;
}

std::string CommandHelpText(std::string_view command) {
  const CommandText* c = FindCommand(command);
  if (!c) return GeneralHelpText();
  std::string s = "使い方: " + std::string(c->usage) + "\n\n" + c->purpose + "\n\nオプション:\n";
  std::size_t width = 0;
  for (const CommandOption& o : kOptions)
    if (o.commands & c->bit) width = std::max(width, OptionColumn(o).size());
  for (const CommandOption& o : kOptions) {
    if (!(o.commands & c->bit)) continue;
    const std::string left = OptionColumn(o);
    s += "  " + left + std::string(width - left.size() + 2, ' ') + o.meaning + "\n";
  }
  s += "\n例:\n  " + std::string(c->example) + "\n";
  return s;
}

std::string VersionText() { return std::string("corvane ") + CORVANE_VERSION + "\n"; }

}  // namespace corvane
