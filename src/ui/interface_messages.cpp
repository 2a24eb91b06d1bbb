// The messages, question captions and file kinds that the window's boxes
// and file dialogs show, for the translations: they come from every layer
// of the program (the core has no Qt to mark them), so they are listed here
// and the boxes look each one up (qtdialogs.cpp). A message made up with a
// name, a number or a reason is found by the pattern it was made from.
#include <QCoreApplication>

#include "ui/interface_language.h"

namespace {

[[maybe_unused]] const char* const kMessages[] = {
    // Question captions and buttons.
    QT_TRANSLATE_NOOP("Messages", "かくにん"),
    QT_TRANSLATE_NOOP("Messages", "確認"),
    QT_TRANSLATE_NOOP("Messages", "はい"),
    QT_TRANSLATE_NOOP("Messages", "いいえ"),
    QT_TRANSLATE_NOOP("Messages", "キャンセル"),
    // Files.
    QT_TRANSLATE_NOOP("Messages", "ファイルけいしきがちがいます"),
    QT_TRANSLATE_NOOP("Messages", "さいせい中はファイルをよみこめません"),
    QT_TRANSLATE_NOOP("Messages", "本当にデータをよみこみますか？"),
    QT_TRANSLATE_NOOP("Messages", "データ読み込みに失敗しました"),
    QT_TRANSLATE_NOOP("Messages", "データ書き出しに失敗しました"),
    QT_TRANSLATE_NOOP("Messages", "うわがきほぞんしました"),
    QT_TRANSLATE_NOOP("Messages", "すでにあるファイルにうわがきしますか"),
    QT_TRANSLATE_NOOP("Messages", "ファイルほぞんをキャンセルしました"),
    QT_TRANSLATE_NOOP("Messages", "データ保存に失敗しました"),
    QT_TRANSLATE_NOOP("Messages", "データフォーマットが違います"),
    QT_TRANSLATE_NOOP("Messages", "ActionItem：読み込みエラー"),
    QT_TRANSLATE_NOOP("Messages", "ファイルのなまえに改行があるので、はいけいにできません"),
    QT_TRANSLATE_NOOP("Messages", "Tamloをおわる前にえをうわがきほぞんしますか？"),
    QT_TRANSLATE_NOOP("Messages", "Tamloをおわる前にえをほぞんしますか？"),
    // The journal.
    QT_TRANSLATE_NOOP("Messages", "まえに かいていた えが のこっています。つづきから かきますか？"),
    QT_TRANSLATE_NOOP("Messages", "きろくを ほぞんできなくなりました。このまま かけますが、いそいで ほぞんしてください。"),
    // Drawing and editing.
    QT_TRANSLATE_NOOP("Messages", "ここからえがきなおしますか？"),
    QT_TRANSLATE_NOOP("Messages", "さいせいする絵がありません"),
    QT_TRANSLATE_NOOP("Messages", "選択できる図形がありません"),
    QT_TRANSLATE_NOOP("Messages", "これより前にいくことができません。"),
    QT_TRANSLATE_NOOP("Messages", "これより後ろにいくことができません。"),
    QT_TRANSLATE_NOOP("Messages", "スタンプは変更できません"),
    QT_TRANSLATE_NOOP("Messages", "線はぬりつぶしなしにできません"),
    QT_TRANSLATE_NOOP("Messages", "これより線を太くできません"),
    QT_TRANSLATE_NOOP("Messages", "これより線を細くできません"),
    QT_TRANSLATE_NOOP("Messages", "文字はぬりつぶしなしにできません"),
    QT_TRANSLATE_NOOP("Messages", "スタンプのサイズ変更：解決できないエラーが発生しました"),
    QT_TRANSLATE_NOOP("Messages", "この えの ファイルは、ほかで かきかえられています。うわがきしますか？"),
    QT_TRANSLATE_NOOP("Messages", "いんさつできませんでした"),
    // Pictures and videos.
    QT_TRANSLATE_NOOP("Messages", "ビットマップイメージが不正です"),
    QT_TRANSLATE_NOOP("Messages", "この JPEG は スキャンが おおすぎて よみこめません"),
    QT_TRANSLATE_NOOP("Messages", "どうがを かきだせませんでした"),
    QT_TRANSLATE_NOOP("Messages", "えの おおきさが つかえません"),
    QT_TRANSLATE_NOOP("Messages", "ファイルの かたちが つかえません"),
    QT_TRANSLATE_NOOP("Messages", "エンコーダーが ありません"),
    QT_TRANSLATE_NOOP("Messages", "メモリが たりません"),
    QT_TRANSLATE_NOOP("Messages", "どうがが ひらかれていません"),
    QT_TRANSLATE_NOOP("Messages", "えの おおきさが ちがいます"),
    QT_TRANSLATE_NOOP("Messages", "えが ひとつも ありません"),
    // The kinds of file in the file dialogs.
    QT_TRANSLATE_NOOP("Messages", "Tamloファイル（*.tlo）"),
    QT_TRANSLATE_NOOP("Messages", "ビットマップ（*.bmp）"),
    QT_TRANSLATE_NOOP("Messages", "JPEGファイル（*.jpg）"),
    QT_TRANSLATE_NOOP("Messages", "MP4どうが（*.mp4）"),
    QT_TRANSLATE_NOOP("Messages", "GIFアニメ（*.gif）"),
    QT_TRANSLATE_NOOP("Messages", "WebMどうが（*.webm）"),
};

// Messages made up around a name, a number or a reason, which %1 stands
// for; the part in its place is looked up in turn.
const char* const kPatterns[] = {
    QT_TRANSLATE_NOOP("Messages", "%1が見つかりません。場所を指定しますか？"),
    QT_TRANSLATE_NOOP("Messages", "'%1' は整数ではありません"),
    QT_TRANSLATE_NOOP("Messages", "ファイル %1 を作成できません"),
    QT_TRANSLATE_NOOP("Messages", "ディスクがいっぱいで ファイル %1 をかけません"),
    QT_TRANSLATE_NOOP("Messages", "JPEG エラー #%1"),
    QT_TRANSLATE_NOOP("Messages", "どうがを かきだせませんでした（%1）"),
    QT_TRANSLATE_NOOP("Messages", "エンコードに しっぱいしました: %1"),
    QT_TRANSLATE_NOOP("Messages", "ファイルに かきこめません: %1"),
    QT_TRANSLATE_NOOP("Messages", "ぜんぶで %1 まいの えを かきだします。よろしいですか？"),
    QT_TRANSLATE_NOOP("Messages", "この コンピュータでは 「%1」の なかにだけ ほぞんできます"),
    QT_TRANSLATE_NOOP("Messages", "まえに かいていた えは ここに のこしました：\n%1"),
    QT_TRANSLATE_NOOP("Messages", "まえに かいていた えは この フォルダに のこしました：\n%1"),
    QT_TRANSLATE_NOOP("Messages", "まえに かいていた えが こわれていて よめませんでした。ここに のこしました：\n%1"),
    QT_TRANSLATE_NOOP("Messages", "まえに かいていた えが こわれていて よめませんでした。この フォルダに のこしました：\n%1"),
    QT_TRANSLATE_NOOP("Messages", "まえに かいていた えは とちゅうから こわれていたので、よめた ところまで もどしました。もとの ファイルは ここに のこしました：\n%1"),
};

}  // namespace

QString TranslatedMessage(const QString& text) {
  if (text.isEmpty()) return text;
  const QByteArray utf8 = text.toUtf8();
  const QString whole = QCoreApplication::translate("Messages", utf8.constData());
  if (whole != text) return whole;
  for (const char* pattern : kPatterns) {
    const QString p = QString::fromUtf8(pattern);
    const qsizetype at = p.indexOf(QLatin1String("%1"));
    const QString before = p.left(at);
    const QString after = p.mid(at + 2);
    if (text.size() < before.size() + after.size() || !text.startsWith(before) || !text.endsWith(after)) continue;
    const QString translated = QCoreApplication::translate("Messages", pattern);
    if (translated == p) return text;  // no translation installed
    const QString inner = text.mid(before.size(), text.size() - before.size() - after.size());
    return translated.arg(TranslatedMessage(inner));
  }
  return text;
}
