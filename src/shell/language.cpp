// The word tables of the menu languages. A language that defines only part of
// a set leaves the other entries as the previous language set them.
#include "shell/language.h"

#include <initializer_list>
#include <utility>

namespace kamo {

namespace {
using G = GeneralWords;
using C = CommandWords;
using GeneralEntry = std::pair<std::string G::*, const char*>;
using CommandEntry = std::pair<std::string C::*, const char*>;

struct LanguageTable {
  int code;
  std::initializer_list<GeneralEntry> general;
  std::initializer_list<CommandEntry> command;
};

const std::initializer_list<GeneralEntry> kGermanGeneral = {
    {&G::menu, "Men\u00FC"},
    {&G::file, "&Datei"},
    {&G::fileNew, "&Neu..."},
    {&G::open, "\u00D6&ffnen..."},
    {&G::save, "&Speichern..."},
    {&G::saveAs, "Speichern &Unter..."},
    {&G::deleteWord, "&L\u00F6schen"},
    {&G::settings, "E&instellungen"},
    {&G::exit, "&Beenden"},
    {&G::copy, "Kopieren"},
    {&G::paste, "Einf\u00FCgen"},
    {&G::print, "&Drucken..."},
    {&G::importWord, "&Import"},
    {&G::exportWord, "Ex&port"},
    {&G::edit, "&Bearbeiten"},
    {&G::text, "Te&xt"},
    {&G::quick, "Quick"},
    {&G::view, "&Ansicht"},
    {&G::standardPrintout, "&Standardausdruck"},
    {&G::extractPrintout, "&Auszug"},
    {&G::database, "Datenban&k"},
    {&G::cad, "&CAD"},
    {&G::drawing, "&Zeichnung"},
    {&G::diagrams, "&Diagramme"},
    {&G::document, "D&okument"},
    {&G::drawingData, "&Zeichnungsdaten"},
    {&G::showChanges, "\u00C4nderungen - &Info"},
    {&G::printChanges, "\u00C4nderungen - &Ausdruck"},
    {&G::newChange, "&Neue \u00C4nderung"},
    {&G::editLastChange, "Letzte \u00C4nderung &bearbeiten"},
    {&G::deleteLastChange, "Letzte \u00C4nderung &l\u00F6schen"},
    {&G::documentSetup, "Dokument &Setup"},
    {&G::help, "&Hilfe"},
    {&G::helpPicture, "&Hilfebild"},
    {&G::errorMessages, "&Fehlermeldungen"},
    {&G::printout, "&Ausdruck"},
    {&G::language, "&Sprache"},
    {&G::dimensions, "&Abmessungen"},
    {&G::animation, "&Animation"},
    {&G::manual, "Handbuch"},
};
const std::initializer_list<CommandEntry> kGermanCommand = {
    {&C::geometry, "&Geometrie"},    {&C::operatingData, "&Betriebsdaten"},
    {&C::calculation, "&Berechnung"}, {&C::follower, "&St\u00F6ssel"},
    {&C::reset, "&R\u00FCcksetzen"},  {&C::table, "&Tabelle"},
    {&C::polyline, "Pol&ylinie"},     {&C::graphics, "&Grafik"},
};

const std::initializer_list<GeneralEntry> kEnglishGeneral = {
    {&G::menu, "Menu"},
    {&G::file, "&File"},
    {&G::fileNew, "&New..."},
    {&G::open, "&Open..."},
    {&G::save, "&Save..."},
    {&G::saveAs, "Save &As..."},
    {&G::deleteWord, "&Delete"},
    {&G::settings, "Se&ttings"},
    {&G::exit, "E&xit"},
    {&G::copy, "&Copy"},
    {&G::paste, "&Paste"},
    {&G::print, "&Print..."},
    {&G::importWord, "&Import"},
    {&G::exportWord, "Ex&port"},
    {&G::edit, "&Edit"},
    {&G::text, "Te&xt"},
    {&G::quick, "Quick"},
    {&G::view, "&View"},
    {&G::standardPrintout, "&Standard Printout"},
    {&G::extractPrintout, "&Excerpt Printout"},
    {&G::database, "&Database"},
    {&G::cad, "&CAD"},
    {&G::drawing, "&Drawing"},
    {&G::diagrams, "&Diagrams"},
    {&G::document, "D&ocument"},
    {&G::drawingData, "&Drawing data"},
    {&G::showChanges, "Modifications - &Info"},
    {&G::printChanges, "Modifications - &Printout"},
    {&G::newChange, "Modification - &New"},
    {&G::editLastChange, "&Edit previous modification"},
    {&G::deleteLastChange, "&Delete previous modification"},
    {&G::documentSetup, "Document &Setup"},
    {&G::help, "&Help"},
    {&G::helpPicture, "&Auxiliary images"},
    {&G::errorMessages, "&Error messages"},
    {&G::printout, "&Printout"},
    {&G::language, "&Language"},
    {&G::dimensions, "&Dimensions"},
    {&G::animation, "&Animation"},
    {&G::manual, "E-Manual"},
};
const std::initializer_list<CommandEntry> kEnglishCommand = {
    {&C::geometry, "&Geometry"},      {&C::operatingData, "&Operation Data"},
    {&C::calculation, "&Calculation"}, {&C::follower, "&Ram"},
    {&C::reset, "&Reset"},            {&C::table, "&Table"},
    {&C::polyline, "&Polyline"},      {&C::graphics, "&Graphics"},
};

// The other languages define the common menu words only; words without a
// settled translation keep the previous language.
const std::initializer_list<GeneralEntry> kFrenchGeneral = {
    {&G::menu, "Menu"},           {&G::file, "&Fichier"},
    {&G::fileNew, "&Nouveau..."}, {&G::open, "&Ouvrir..."},
    {&G::save, "&Enregistrer..."}, {&G::saveAs, "Enregistrer &sous..."},
    {&G::deleteWord, "&Supprimer"}, {&G::settings, "&Param\u00E8tres"},
    {&G::exit, "&Quitter"},       {&G::copy, "Copier"},
    {&G::paste, "Coller"},        {&G::print, "&Imprimer..."},
    {&G::importWord, "&Importer"}, {&G::exportWord, "E&xporter"},
    {&G::edit, "&Edition"},       {&G::text, "Te&xte"},
    {&G::view, "&Affichage"},     {&G::database, "&Base de donn\u00E9es"},
    {&G::drawing, "&Dessin"},     {&G::diagrams, "&Diagrammes"},
    {&G::document, "D&ocument"},  {&G::help, "&Aide"},
    {&G::errorMessages, "Messages d'&erreur"}, {&G::language, "&Langue"},
    {&G::dimensions, "&Dimensions"}, {&G::animation, "&Animation"},
    {&G::manual, "Manuel"},
};
const std::initializer_list<CommandEntry> kFrenchCommand = {
    {&C::geometry, "&G\u00E9om\u00E9trie"}, {&C::calculation, "&Calcul"},
    {&C::table, "&Tableau"},               {&C::polyline, "Pol&yligne"},
    {&C::graphics, "&Graphique"},
};

const std::initializer_list<GeneralEntry> kItalianGeneral = {
    {&G::menu, "Menu"},            {&G::file, "&File"},
    {&G::fileNew, "&Nuovo..."},    {&G::open, "&Apri..."},
    {&G::save, "&Salva..."},       {&G::saveAs, "Salva &con nome..."},
    {&G::deleteWord, "&Elimina"},  {&G::settings, "&Impostazioni"},
    {&G::exit, "E&sci"},           {&G::copy, "Copia"},
    {&G::paste, "Incolla"},        {&G::print, "S&tampa..."},
    {&G::importWord, "&Importa"},  {&G::exportWord, "E&sporta"},
    {&G::edit, "&Modifica"},       {&G::text, "Te&sto"},
    {&G::view, "&Visualizza"},     {&G::drawing, "&Disegno"},
    {&G::diagrams, "&Diagrammi"},  {&G::document, "D&ocumento"},
    {&G::help, "&Guida"},          {&G::errorMessages, "Messaggi di &errore"},
    {&G::language, "&Lingua"},     {&G::animation, "&Animazione"},
    {&G::manual, "Manuale"},
};

const std::initializer_list<GeneralEntry> kSwedishGeneral = {
    {&G::menu, "Meny"},              {&G::file, "&Arkiv"},
    {&G::fileNew, "&Ny..."},         {&G::open, "\u00D6&ppna..."},
    {&G::save, "&Spara..."},         {&G::saveAs, "Spara so&m..."},
    {&G::deleteWord, "&Ta bort"},    {&G::settings, "&Inst\u00E4llningar"},
    {&G::exit, "A&vsluta"},          {&G::copy, "Kopiera"},
    {&G::paste, "Klistra in"},       {&G::print, "Skriv &ut..."},
    {&G::importWord, "&Importera"},  {&G::exportWord, "E&xportera"},
    {&G::edit, "&Redigera"},         {&G::text, "Te&xt"},
    {&G::view, "&Visa"},             {&G::document, "D&okument"},
    {&G::help, "&Hj\u00E4lp"},       {&G::language, "&Spr\u00E5k"},
    {&G::animation, "&Animering"},   {&G::manual, "Handbok"},
};

const std::initializer_list<GeneralEntry> kPortugueseGeneral = {
    {&G::menu, "Menu"},             {&G::fileNew, "&Novo..."},
    {&G::open, "&Abrir..."},        {&G::copy, "Copiar"},
    {&G::paste, "Colar"},           {&G::print, "&Imprimir..."},
    {&G::importWord, "&Importar"},  {&G::exportWord, "E&xportar"},
    {&G::edit, "&Editar"},          {&G::text, "Te&xto"},
    {&G::document, "D&ocumento"},   {&G::help, "A&juda"},
    {&G::language, "&Idioma"},      {&G::animation, "&Anima\u00E7\u00E3o"},
    {&G::manual, "Manual"},
};

const std::initializer_list<GeneralEntry> kRomanianGeneral = {
    {&G::menu, "Meniu"},               {&G::file, "&Fi\u0219ier"},
    {&G::fileNew, "&Nou..."},          {&G::open, "&Deschidere..."},
    {&G::save, "&Salvare..."},         {&G::saveAs, "Salvare &ca..."},
    {&G::deleteWord, "\u0218&tergere"}, {&G::settings, "Set\u0103&ri"},
    {&G::exit, "&Ie\u0219ire"},        {&G::copy, "Copiere"},
    {&G::paste, "Lipire"},             {&G::print, "&Imprimare..."},
    {&G::importWord, "&Import"},       {&G::exportWord, "Ex&port"},
    {&G::edit, "&Editare"},            {&G::text, "Te&xt"},
    {&G::view, "&Vizualizare"},        {&G::database, "&Baz\u0103 de date"},
    {&G::drawing, "&Desen"},           {&G::diagrams, "&Diagrame"},
    {&G::document, "D&ocument"},       {&G::help, "&Ajutor"},
    {&G::errorMessages, "Mesaje de &eroare"}, {&G::language, "&Limb\u0103"},
    {&G::dimensions, "&Dimensiuni"},   {&G::animation, "&Anima\u021Bie"},
    {&G::manual, "Manual"},
};
const std::initializer_list<CommandEntry> kRomanianCommand = {
    {&C::geometry, "&Geometrie"}, {&C::calculation, "&Calcul"},
    {&C::table, "&Tabel"},        {&C::polyline, "Pol&ilinie"},
    {&C::graphics, "&Grafic"},
};

const std::initializer_list<GeneralEntry> kSpanishGeneral = {
    {&G::menu, "Men\u00FA"},           {&G::file, "&Archivo"},
    {&G::fileNew, "&Nuevo..."},        {&G::open, "&Abrir..."},
    {&G::save, "&Guardar..."},         {&G::saveAs, "Guardar &como..."},
    {&G::deleteWord, "&Eliminar"},     {&G::settings, "&Configuraci\u00F3n"},
    {&G::exit, "&Salir"},              {&G::copy, "Copiar"},
    {&G::paste, "Pegar"},              {&G::print, "&Imprimir..."},
    {&G::importWord, "&Importar"},     {&G::exportWord, "E&xportar"},
    {&G::edit, "&Edici\u00F3n"},       {&G::text, "Te&xto"},
    {&G::view, "&Ver"},                {&G::database, "&Base de datos"},
    {&G::drawing, "&Dibujo"},          {&G::diagrams, "&Diagramas"},
    {&G::document, "D&ocumento"},      {&G::help, "A&yuda"},
    {&G::errorMessages, "Mensajes de &error"}, {&G::language, "&Idioma"},
    {&G::dimensions, "&Dimensiones"},  {&G::animation, "&Animaci\u00F3n"},
    {&G::manual, "Manual"},
};

// The East Asian words carry their access key in brackets, as the
// platforms do in these languages.
const std::initializer_list<GeneralEntry> kKoreanGeneral = {
    {&G::menu, "\uBA54\uB274"},                 // 메뉴
    {&G::file, "\uD30C\uC77C(&F)"},             // 파일
    {&G::fileNew, "\uC0C8\uB85C \uB9CC\uB4E4\uAE30(&N)..."},  // 새로 만들기
    {&G::open, "\uC5F4\uAE30(&O)..."},          // 열기
    {&G::save, "\uC800\uC7A5(&S)..."},          // 저장
    {&G::saveAs, "\uB2E4\uB978 \uC774\uB984\uC73C\uB85C \uC800\uC7A5(&A)..."},
    {&G::deleteWord, "\uC0AD\uC81C(&D)"},       // 삭제
    {&G::settings, "\uC124\uC815(&T)"},         // 설정
    {&G::exit, "\uC885\uB8CC(&X)"},             // 종료
    {&G::copy, "\uBCF5\uC0AC"},                 // 복사
    {&G::paste, "\uBD99\uC5EC\uB123\uAE30"},    // 붙여넣기
    {&G::print, "\uC778\uC1C4(&P)..."},         // 인쇄
    {&G::importWord, "\uAC00\uC838\uC624\uAE30(&I)"},  // 가져오기
    {&G::exportWord, "\uB0B4\uBCF4\uB0B4\uAE30(&R)"},  // 내보내기
    {&G::edit, "\uD3B8\uC9D1(&E)"},             // 편집
    {&G::text, "\uD14D\uC2A4\uD2B8(&X)"},       // 텍스트
    {&G::view, "\uBCF4\uAE30(&V)"},             // 보기
    {&G::help, "\uB3C4\uC6C0\uB9D0(&H)"},       // 도움말
    {&G::language, "\uC5B8\uC5B4(&L)"},         // 언어
    {&G::helpPicture, "\uB3C4\uC6C0\uB9D0 \uADF8\uB9BC(&B)"}, // 도움말 그림
    {&G::errorMessages, "\uC624\uB958 \uBA54\uC2DC\uC9C0(&E)"}, // 오류 메시지
    {&G::drawing, "\uB3C4\uBA74(&Z)"},       // 도면
    {&G::diagrams, "\uB2E4\uC774\uC5B4\uADF8\uB7A8(&D)"}, // 다이어그램
    {&G::document, "\uBB38\uC11C(&O)"},      // 문서
    {&G::animation, "\uC560\uB2C8\uBA54\uC774\uC158(&A)"}, // 애니메이션
    {&G::printout, "\uCD9C\uB825(&P)"},      // 출력
    {&G::dimensions, "\uCE58\uC218(&M)"},    // 치수
    {&G::manual, "\uC124\uBA85\uC11C"},      // 설명서
};

// The program's own commands in Korean; the cam follower is the "driven
// link" (종동절) of Korean mechanism texts.
const std::initializer_list<CommandEntry> kKoreanCommand = {
    {&C::geometry, "\uD615\uC0C1(&G)"},                          // 형상
    {&C::operatingData, "\uC6B4\uC804 \uB370\uC774\uD130(&B)"},  // 운전 데이터
    {&C::calculation, "\uACC4\uC0B0(&C)"},                       // 계산
    {&C::follower, "\uC885\uB3D9\uC808(&S)"},                    // 종동절
    {&C::reset, "\uCD08\uAE30\uD654(&R)"},                       // 초기화
    {&C::table, "\uD45C(&T)"},                                  // 표
    {&C::polyline, "\uD3F4\uB9AC\uB77C\uC778(&Y)"},              // 폴리라인
    {&C::graphics, "\uADF8\uB798\uD53D(&G)"},                    // 그래픽
};

const std::initializer_list<GeneralEntry> kChineseGeneral = {
    {&G::menu, "\u83DC\u5355"},                 // 菜单
    {&G::file, "\u6587\u4EF6(&F)"},             // 文件
    {&G::fileNew, "\u65B0\u5EFA(&N)..."},       // 新建
    {&G::open, "\u6253\u5F00(&O)..."},          // 打开
    {&G::save, "\u4FDD\u5B58(&S)..."},          // 保存
    {&G::saveAs, "\u53E6\u5B58\u4E3A(&A)..."},  // 另存为
    {&G::deleteWord, "\u5220\u9664(&D)"},       // 删除
    {&G::settings, "\u8BBE\u7F6E(&T)"},         // 设置
    {&G::exit, "\u9000\u51FA(&X)"},             // 退出
    {&G::copy, "\u590D\u5236"},                 // 复制
    {&G::paste, "\u7C98\u8D34"},                // 粘贴
    {&G::print, "\u6253\u5370(&P)..."},         // 打印
    {&G::importWord, "\u5BFC\u5165(&I)"},       // 导入
    {&G::exportWord, "\u5BFC\u51FA(&R)"},       // 导出
    {&G::edit, "\u7F16\u8F91(&E)"},             // 编辑
    {&G::text, "\u6587\u672C(&X)"},             // 文本
    {&G::view, "\u89C6\u56FE(&V)"},             // 视图
    {&G::database, "\u6570\u636E\u5E93(&K)"},   // 数据库
    {&G::drawing, "\u56FE\u7EB8(&Z)"},          // 图纸
    {&G::document, "\u6587\u6863(&O)"},         // 文档
    {&G::help, "\u5E2E\u52A9(&H)"},             // 帮助
    {&G::errorMessages, "\u9519\u8BEF\u4FE1\u606F(&E)"},  // 错误信息
    {&G::language, "\u8BED\u8A00(&L)"},         // 语言
    {&G::animation, "\u52A8\u753B(&A)"},        // 动画
    {&G::manual, "\u624B\u518C"},               // 手册
};
const std::initializer_list<CommandEntry> kChineseCommand = {
    {&C::geometry, "\u51E0\u4F55(&G)"},     // 几何
    {&C::calculation, "\u8BA1\u7B97(&B)"},  // 计算
    {&C::table, "\u8868\u683C(&T)"},        // 表格
    {&C::polyline, "\u591A\u6BB5\u7EBF(&Y)"},  // 多段线
    {&C::graphics, "\u56FE\u5F62(&G)"},     // 图形
};

const LanguageTable kTables[] = {
    {lcGerman, kGermanGeneral, kGermanCommand},
    {lcEnglish, kEnglishGeneral, kEnglishCommand},
    {lcFrench, kFrenchGeneral, kFrenchCommand},
    {lcItalian, kItalianGeneral, {}},
    {lcSwedish, kSwedishGeneral, {}},
    {lcPortuguese, kPortugueseGeneral, {}},
    {lcRomanian, kRomanianGeneral, kRomanianCommand},
    {lcKorean, kKoreanGeneral, kKoreanCommand},
    {lcSpanish, kSpanishGeneral, {}},
    {lcChinese, kChineseGeneral, kChineseCommand},
};

const LanguageTable* TableOf(int code) {
  for (const auto& t : kTables)
    if (t.code == code) return &t;
  return nullptr;
}
}  // namespace

LanguageTexts::LanguageTexts() {
  const LanguageTable* german = TableOf(lcGerman);
  for (const auto& [field, word] : german->general) general.*field = word;
  for (const auto& [field, word] : german->command) command.*field = word;
  applyDrawingLanguage(*this, lcGerman);
}

bool applyLanguage(LanguageTexts& texts, int code) {
  const LanguageTable* t = TableOf(code);
  if (!t) return false;
  for (const auto& [field, word] : t->general) texts.general.*field = word;
  for (const auto& [field, word] : t->command) texts.command.*field = word;
  texts.menuLanguage = code;
  return true;
}

void applyDrawingLanguage(LanguageTexts& texts, int code) {
  if (code != lcGerman) return;
  texts.drawing.line = "Zeile";
  texts.drawing.drawingName = "Zeichnungsname";
  texts.drawing.drawingNumber = "Zeichnungsnummer";
}

const std::vector<LanguageEntry>& LanguageMenuEntries() {
  static const std::vector<LanguageEntry> entries = {
      {lcGerman, "&Deutsch"}, {lcEnglish, "&English"}, {lcRomanian, "&Roman"},
      {lcKorean, "&Korea"},   {lcChinese, "&Chinese"},
  };
  return entries;
}

}  // namespace kamo
