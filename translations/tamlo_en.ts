<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="ja">
<context>
    <name>MainWindow</name>
    <message>
        <source>しろ</source>
        <translation>white</translation>
    </message>
    <message>
        <source>ももいろ</source>
        <translation>pink</translation>
    </message>
    <message>
        <source>あか</source>
        <translation>red</translation>
    </message>
    <message>
        <source>こい あか</source>
        <translation>dark red</translation>
    </message>
    <message>
        <source>あずきいろ</source>
        <translation>maroon</translation>
    </message>
    <message>
        <source>みずいろ</source>
        <translation>sky blue</translation>
    </message>
    <message>
        <source>あお</source>
        <translation>blue</translation>
    </message>
    <message>
        <source>むらさき</source>
        <translation>purple</translation>
    </message>
    <message>
        <source>きいろ</source>
        <translation>yellow</translation>
    </message>
    <message>
        <source>だいだいいろ</source>
        <translation>orange</translation>
    </message>
    <message>
        <source>きみどり</source>
        <translation>lime green</translation>
    </message>
    <message>
        <source>みどり</source>
        <translation>green</translation>
    </message>
    <message>
        <source>あおみどり</source>
        <translation>teal</translation>
    </message>
    <message>
        <source>うすい はいいろ</source>
        <translation>light grey</translation>
    </message>
    <message>
        <source>はいいろ</source>
        <translation>grey</translation>
    </message>
    <message>
        <source>くろ</source>
        <translation>black</translation>
    </message>
    <message>
        <source>がようし</source>
        <translation>drawing paper</translation>
    </message>
    <message>
        <source>えを かく ところ。やじるしキーで ゆびさきを うごかし、スペースキーで おす・はなす。エンターキーで いちど おす。</source>
        <translation>Where you draw. Arrow keys move the pointer, Space presses and lets go, Enter clicks.</translation>
    </message>
    <message>
        <source>もじを かく はこ</source>
        <translation>text box</translation>
    </message>
    <message>
        <source>もじを うって エンターキーで きめる。エスケープキーで やめる。</source>
        <translation>Type, then Enter to finish or Escape to stop.</translation>
    </message>
    <message>
        <source>えらぶ</source>
        <translation>pick</translation>
    </message>
    <message>
        <source>かえたい かたちを えらぶ</source>
        <translation>pick a shape to change</translation>
    </message>
    <message>
        <source>もじ</source>
        <translation>words</translation>
    </message>
    <message>
        <source>もじを かく</source>
        <translation>write words</translation>
    </message>
    <message>
        <source>まっすぐな せん</source>
        <translation>straight line</translation>
    </message>
    <message>
        <source>まっすぐな せんを かく</source>
        <translation>draw a straight line</translation>
    </message>
    <message>
        <source>じゆうな せん</source>
        <translation>free line</translation>
    </message>
    <message>
        <source>じゆうに せんを かく</source>
        <translation>draw freely</translation>
    </message>
    <message>
        <source>まる</source>
        <translation>circle</translation>
    </message>
    <message>
        <source>まるを かく</source>
        <translation>draw a circle</translation>
    </message>
    <message>
        <source>しかく</source>
        <translation>box</translation>
    </message>
    <message>
        <source>しかくを かく</source>
        <translation>draw a box</translation>
    </message>
    <message>
        <source>おれせん</source>
        <translation>bent line</translation>
    </message>
    <message>
        <source>おれまがった せんを かく</source>
        <translation>draw a bent line</translation>
    </message>
    <message>
        <source>かどの ある かたち</source>
        <translation>shape with corners</translation>
    </message>
    <message>
        <source>かどの ある かたちを かく</source>
        <translation>draw a shape with corners</translation>
    </message>
    <message>
        <source>スタンプ</source>
        <translation>stamp</translation>
    </message>
    <message>
        <source>スタンプを おす</source>
        <translation>put the stamp</translation>
    </message>
    <message>
        <source>スタンプの せってい</source>
        <translation>make a stamp</translation>
    </message>
    <message>
        <source>かこんだ かたちを スタンプに する</source>
        <translation>make the shapes you box in a stamp</translation>
    </message>
    <message>
        <source>スタンプの みほん</source>
        <translation>stamp preview</translation>
    </message>
    <message>
        <source>いまの スタンプ</source>
        <translation>the stamp you have now</translation>
    </message>
    <message>
        <source>もどす</source>
        <translation>undo</translation>
    </message>
    <message>
        <source>ひとつ まえに もどす</source>
        <translation>go one step back</translation>
    </message>
    <message>
        <source>やりなおす</source>
        <translation>redo</translation>
    </message>
    <message>
        <source>もどした ことを やりなおす</source>
        <translation>do again what you undid</translation>
    </message>
    <message>
        <source>ふやす</source>
        <translation>copy</translation>
    </message>
    <message>
        <source>えらんだ かたちを ふやす</source>
        <translation>copy the picked shape</translation>
    </message>
    <message>
        <source>けす</source>
        <translation>delete</translation>
    </message>
    <message>
        <source>えらんだ かたちを けす</source>
        <translation>delete the picked shape</translation>
    </message>
    <message>
        <source>ふっかつ</source>
        <translation>bring back</translation>
    </message>
    <message>
        <source>けした かたちを もとに もどす</source>
        <translation>bring back a deleted shape</translation>
    </message>
    <message>
        <source>てまえに</source>
        <translation>to the front</translation>
    </message>
    <message>
        <source>えらんだ かたちを てまえに だす</source>
        <translation>move the picked shape to the front</translation>
    </message>
    <message>
        <source>うしろへ</source>
        <translation>to the back</translation>
    </message>
    <message>
        <source>えらんだ かたちを うしろに さげる</source>
        <translation>move the picked shape to the back</translation>
    </message>
    <message>
        <source>ほそい せん</source>
        <translation>thinner line</translation>
    </message>
    <message>
        <source>せんを ほそく する</source>
        <translation>make the line thinner</translation>
    </message>
    <message>
        <source>ふとい せん</source>
        <translation>thicker line</translation>
    </message>
    <message>
        <source>せんを ふとく する</source>
        <translation>make the line thicker</translation>
    </message>
    <message>
        <source>せんの いろ</source>
        <translation>line colour</translation>
    </message>
    <message>
        <source>せんを えらんだ いろに する</source>
        <translation>give the line the picked colour</translation>
    </message>
    <message>
        <source>なかの いろ</source>
        <translation>fill colour</translation>
    </message>
    <message>
        <source>なかを えらんだ いろで ぬる</source>
        <translation>fill with the picked colour</translation>
    </message>
    <message>
        <source>もじを かえる</source>
        <translation>change words</translation>
    </message>
    <message>
        <source>えらんだ もじを かきなおす</source>
        <translation>write the picked words again</translation>
    </message>
    <message>
        <source>もじの いろ</source>
        <translation>words colour</translation>
    </message>
    <message>
        <source>もじを えらんだ いろに する</source>
        <translation>give the words the picked colour</translation>
    </message>
    <message>
        <source>よこの おおきさ</source>
        <translation>width</translation>
    </message>
    <message>
        <source>えらんだ かたちの よこの おおきさを かえる</source>
        <translation>change the width of the picked shape</translation>
    </message>
    <message>
        <source>たての おおきさ</source>
        <translation>height</translation>
    </message>
    <message>
        <source>えらんだ かたちの たての おおきさを かえる</source>
        <translation>change the height of the picked shape</translation>
    </message>
    <message>
        <source>ぬりつぶしなし</source>
        <translation>no fill</translation>
    </message>
    <message>
        <source>なかを ぬらない</source>
        <translation>leave the inside empty</translation>
    </message>
    <message>
        <source>えらんだ いろ</source>
        <translation>picked colour</translation>
    </message>
    <message>
        <source>いま えらばれて いる いろ</source>
        <translation>the colour picked now</translation>
    </message>
    <message>
        <source>さいせい</source>
        <translation>play</translation>
    </message>
    <message>
        <source>かいた じゅんばんに うごかす・とめる</source>
        <translation>play or pause the drawing in the order it was drawn</translation>
    </message>
    <message>
        <source>ひとつ もどる</source>
        <translation>one step back</translation>
    </message>
    <message>
        <source>ひとつ まえの ところを みる</source>
        <translation>show the step before</translation>
    </message>
    <message>
        <source>はじめに もどる</source>
        <translation>to the start</translation>
    </message>
    <message>
        <source>いちばん はじめから みる</source>
        <translation>show from the very start</translation>
    </message>
    <message>
        <source>ひとつ すすむ</source>
        <translation>one step on</translation>
    </message>
    <message>
        <source>ひとつ あとの ところを みる</source>
        <translation>show the next step</translation>
    </message>
    <message>
        <source>みる ところ</source>
        <translation>step shown</translation>
    </message>
    <message>
        <source>かいた じゅんばんの どこを みるか えらぶ</source>
        <translation>pick which step to show</translation>
    </message>
    <message>
        <source>ふつうの さいせい</source>
        <translation>normal play</translation>
    </message>
    <message>
        <source>ふつうに さいせいする</source>
        <translation>play normally</translation>
    </message>
    <message>
        <source>ひとつずつ さいせい</source>
        <translation>step by step</translation>
    </message>
    <message>
        <source>ひとつずつ さいせいする</source>
        <translation>play one step at a time</translation>
    </message>
    <message>
        <source>はやさ 1ばい</source>
        <translation>speed 1×</translation>
    </message>
    <message>
        <source>1びょうに 1こ すすむ</source>
        <translation>one step a second</translation>
    </message>
    <message>
        <source>はやさ 2ばい</source>
        <translation>speed 2×</translation>
    </message>
    <message>
        <source>1びょうに 2こ すすむ</source>
        <translation>two steps a second</translation>
    </message>
    <message>
        <source>はやさ 4ばい</source>
        <translation>speed 4×</translation>
    </message>
    <message>
        <source>1びょうに 4こ すすむ</source>
        <translation>four steps a second</translation>
    </message>
    <message>
        <source>かいた ときの はやさ</source>
        <translation>as drawn</translation>
    </message>
    <message>
        <source>かいた ときと おなじ はやさで すすむ</source>
        <translation>play at the speed it was drawn</translation>
    </message>
    <message>
        <source>かく</source>
        <translation>Draw</translation>
    </message>
    <message>
        <source>えを かく</source>
        <translation>draw a picture</translation>
    </message>
    <message>
        <source>なおす</source>
        <translation>Fix</translation>
    </message>
    <message>
        <source>かいた えを なおす</source>
        <translation>fix the picture</translation>
    </message>
    <message>
        <source>みる</source>
        <translation>Watch</translation>
    </message>
    <message>
        <source>かいた じゅんばんに みる</source>
        <translation>watch the picture drawn again</translation>
    </message>
    <message>
        <source>ないぶの ひょうじ</source>
        <translation>process display</translation>
    </message>
    <message>
        <source>タムロが した ことの きろく</source>
        <translation>what Tamlo has done</translation>
    </message>
    <message>
        <source>ないぶの ひょうじを けす</source>
        <translation>clear the process display</translation>
    </message>
    <message>
        <source>きろくを ぜんぶ けす</source>
        <translation>clear every line</translation>
    </message>
    <message>
        <source>この いろを えらぶ</source>
        <translation>pick this colour</translation>
    </message>
    <message>
        <source>とめる</source>
        <translation>pause</translation>
    </message>
    <message>
        <source>内部処理の非表示</source>
        <translation>Hide the process display</translation>
    </message>
    <message>
        <source>内部処理の表示</source>
        <translation>Show the process display</translation>
    </message>
    <message>
        <source>色がえらばれています</source>
        <translation>This colour is picked</translation>
    </message>
    <message>
        <source>「ぬりつぶしなし」がえらばれています</source>
        <translation>&quot;No fill&quot; is picked</translation>
    </message>
    <message>
        <source>キャンセル</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>タムロのつかいかた</source>
        <translation>How to use Tamlo</translation>
    </message>
    <message>
        <source>つかいかたの せつめい</source>
        <translation>how to use Tamlo</translation>
    </message>
    <message>
        <source>ファイル</source>
        <translation>File</translation>
    </message>
    <message>
        <source>えをよみこむ</source>
        <translation>Open…</translation>
    </message>
    <message>
        <source>えをうわがきほぞん</source>
        <translation>Save</translation>
    </message>
    <message>
        <source>えになまえをつけてほぞん</source>
        <translation>Save as…</translation>
    </message>
    <message>
        <source>タムロをおわる</source>
        <translation>Quit Tamlo</translation>
    </message>
    <message>
        <source>ひょうじ</source>
        <translation>View</translation>
    </message>
    <message>
        <source>はいけいをよみこむ</source>
        <translation>Open background…</translation>
    </message>
    <message>
        <source>はいけいをけす</source>
        <translation>Clear background</translation>
    </message>
    <message>
        <source>はいけい いがい けす</source>
        <translation>Clear all but background</translation>
    </message>
    <message>
        <source>ぜんぶけす</source>
        <translation>Clear all</translation>
    </message>
    <message>
        <source>ぜんがめん</source>
        <translation>Full screen</translation>
    </message>
    <message>
        <source>ヘルプ</source>
        <translation>Help</translation>
    </message>
    <message>
        <source>ツール</source>
        <translation>Tools</translation>
    </message>
    <message>
        <source>Tamloの内部処理の表示</source>
        <translation>Show the process display</translation>
    </message>
    <message>
        <source>画面をクリップボードにコピー</source>
        <translation>Copy the screen to the clipboard</translation>
    </message>
    <message>
        <source>画面をBMPに書き出す</source>
        <translation>Export the screen as BMP…</translation>
    </message>
    <message>
        <source>画面をJPEGに書き出す</source>
        <translation>Export the screen as JPEG…</translation>
    </message>
    <message>
        <source>全過程をJPEGに書き出す</source>
        <translation>Export every step as JPEG…</translation>
    </message>
    <message>
        <source>全過程を動画に書き出す</source>
        <translation>Export every step as a video…</translation>
    </message>
    <message>
        <source>無理やり終わる</source>
        <translation>Force quit</translation>
    </message>
    <message>
        <source>内部表示のリセット</source>
        <translation>Clear the process display</translation>
    </message>
    <message>
        <source>細い線</source>
        <translation>thinner line</translation>
    </message>
    <message>
        <source>太い線</source>
        <translation>thicker line</translation>
    </message>
    <message>
        <source>線の色をかえる</source>
        <translation>change the line colour</translation>
    </message>
    <message>
        <source>中の色をかえる</source>
        <translation>change the fill colour</translation>
    </message>
    <message>
        <source>もじをかえる</source>
        <translation>change the words</translation>
    </message>
    <message>
        <source>もじの色をかえる</source>
        <translation>change the words colour</translation>
    </message>
    <message>
        <source>かえたい図形をえらぶ</source>
        <translation>pick a shape to change</translation>
    </message>
    <message>
        <source>もじをかく</source>
        <translation>write words</translation>
    </message>
    <message>
        <source>直線をかく</source>
        <translation>draw a straight line</translation>
    </message>
    <message>
        <source>じゆうにかく</source>
        <translation>draw freely</translation>
    </message>
    <message>
        <source>円をかく</source>
        <translation>draw a circle</translation>
    </message>
    <message>
        <source>四角形をかく</source>
        <translation>draw a box</translation>
    </message>
    <message>
        <source>おれ線をかく</source>
        <translation>draw a bent line</translation>
    </message>
    <message>
        <source>多角形をかく</source>
        <translation>draw a shape with corners</translation>
    </message>
    <message>
        <source>スタンプのせってい</source>
        <translation>make a stamp</translation>
    </message>
    <message>
        <source>ふつうのさいせい</source>
        <translation>normal play</translation>
    </message>
    <message>
        <source>１こずつさいせい</source>
        <translation>step by step</translation>
    </message>
    <message>
        <source>はやさ</source>
        <translation>speed</translation>
    </message>
    <message>
        <source>1びょうに 1こ</source>
        <translation>one a second</translation>
    </message>
    <message>
        <source>1びょうに 2こ</source>
        <translation>two a second</translation>
    </message>
    <message>
        <source>1びょうに 4こ</source>
        <translation>four a second</translation>
    </message>
    <message>
        <source>かいたときの はやさ</source>
        <translation>as drawn</translation>
    </message>
    <message>
        <source>かいた
とおり</source>
        <translation>as
drawn</translation>
    </message>
    <message>
        <source>画面をSVGに書き出す</source>
        <translation>Export the screen as SVG…</translation>
    </message>
    <message>
        <source>画面をPDFに書き出す</source>
        <translation>Export the screen as PDF…</translation>
    </message>
    <message>
        <source>画面を大きなPNGに書き出す</source>
        <translation>Export the screen as a large PNG…</translation>
    </message>
    <message>
        <source>いんさつ</source>
        <translation>Print…</translation>
    </message>
    <message>
        <source>いんさつの みえかた</source>
        <translation>Print preview…</translation>
    </message>
</context>
<context>
    <name>Messages</name>
    <message>
        <source>かくにん</source>
        <translation>Please check</translation>
    </message>
    <message>
        <source>確認</source>
        <translation>Please check</translation>
    </message>
    <message>
        <source>はい</source>
        <translation>Yes</translation>
    </message>
    <message>
        <source>いいえ</source>
        <translation>No</translation>
    </message>
    <message>
        <source>キャンセル</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>ファイルけいしきがちがいます</source>
        <translation>Tamlo cannot open this kind of file.</translation>
    </message>
    <message>
        <source>さいせい中はファイルをよみこめません</source>
        <translation>Files cannot be opened while watching.</translation>
    </message>
    <message>
        <source>本当にデータをよみこみますか？</source>
        <translation>Open a drawing instead of this one?</translation>
    </message>
    <message>
        <source>データ読み込みに失敗しました</source>
        <translation>The drawing could not be read.</translation>
    </message>
    <message>
        <source>データ書き出しに失敗しました</source>
        <translation>The drawing could not be written.</translation>
    </message>
    <message>
        <source>うわがきほぞんしました</source>
        <translation>Saved.</translation>
    </message>
    <message>
        <source>すでにあるファイルにうわがきしますか</source>
        <translation>Replace the existing file?</translation>
    </message>
    <message>
        <source>ファイルほぞんをキャンセルしました</source>
        <translation>Nothing was saved.</translation>
    </message>
    <message>
        <source>データ保存に失敗しました</source>
        <translation>The drawing could not be saved.</translation>
    </message>
    <message>
        <source>データフォーマットが違います</source>
        <translation>This file is not a Tamlo drawing.</translation>
    </message>
    <message>
        <source>ActionItem：読み込みエラー</source>
        <translation>ActionItem: read error</translation>
    </message>
    <message>
        <source>ファイルのなまえに改行があるので、はいけいにできません</source>
        <translation>This file name has a line break, so it cannot be the background.</translation>
    </message>
    <message>
        <source>Tamloをおわる前にえをうわがきほぞんしますか？</source>
        <translation>Save the drawing before quitting Tamlo?</translation>
    </message>
    <message>
        <source>Tamloをおわる前にえをほぞんしますか？</source>
        <translation>Save the drawing before quitting Tamlo?</translation>
    </message>
    <message>
        <source>まえに かいていた えが のこっています。つづきから かきますか？</source>
        <translation>A drawing from last time is still here. Go on with it?</translation>
    </message>
    <message>
        <source>きろくを ほぞんできなくなりました。このまま かけますが、いそいで ほぞんしてください。</source>
        <translation>Tamlo can no longer keep a record. You can go on drawing, but please save soon.</translation>
    </message>
    <message>
        <source>ここからえがきなおしますか？</source>
        <translation>Draw again from here?</translation>
    </message>
    <message>
        <source>さいせいする絵がありません</source>
        <translation>There is nothing to watch yet.</translation>
    </message>
    <message>
        <source>選択できる図形がありません</source>
        <translation>There is no shape to pick.</translation>
    </message>
    <message>
        <source>これより前にいくことができません。</source>
        <translation>It is already in front.</translation>
    </message>
    <message>
        <source>これより後ろにいくことができません。</source>
        <translation>It is already at the back.</translation>
    </message>
    <message>
        <source>スタンプは変更できません</source>
        <translation>A stamp cannot be changed.</translation>
    </message>
    <message>
        <source>線はぬりつぶしなしにできません</source>
        <translation>A line cannot have no colour.</translation>
    </message>
    <message>
        <source>これより線を太くできません</source>
        <translation>The line cannot get thicker.</translation>
    </message>
    <message>
        <source>これより線を細くできません</source>
        <translation>The line cannot get thinner.</translation>
    </message>
    <message>
        <source>文字はぬりつぶしなしにできません</source>
        <translation>Words cannot have no colour.</translation>
    </message>
    <message>
        <source>スタンプのサイズ変更：解決できないエラーが発生しました</source>
        <translation>Resizing the stamp went wrong.</translation>
    </message>
    <message>
        <source>ビットマップイメージが不正です</source>
        <translation>This bitmap picture is damaged.</translation>
    </message>
    <message>
        <source>この JPEG は スキャンが おおすぎて よみこめません</source>
        <translation>This JPEG has too many scans to be read.</translation>
    </message>
    <message>
        <source>どうがを かきだせませんでした</source>
        <translation>The video could not be written</translation>
    </message>
    <message>
        <source>えの おおきさが つかえません</source>
        <translation>the picture size cannot be used</translation>
    </message>
    <message>
        <source>ファイルの かたちが つかえません</source>
        <translation>this kind of file cannot be used</translation>
    </message>
    <message>
        <source>エンコーダーが ありません</source>
        <translation>there is no encoder</translation>
    </message>
    <message>
        <source>メモリが たりません</source>
        <translation>not enough memory</translation>
    </message>
    <message>
        <source>どうがが ひらかれていません</source>
        <translation>no video is open</translation>
    </message>
    <message>
        <source>えの おおきさが ちがいます</source>
        <translation>the picture size is wrong</translation>
    </message>
    <message>
        <source>えが ひとつも ありません</source>
        <translation>there are no pictures</translation>
    </message>
    <message>
        <source>Tamloファイル（*.tlo）</source>
        <translation>Tamlo drawing (*.tlo)</translation>
    </message>
    <message>
        <source>ビットマップ（*.bmp）</source>
        <translation>Bitmap (*.bmp)</translation>
    </message>
    <message>
        <source>JPEGファイル（*.jpg）</source>
        <translation>JPEG picture (*.jpg)</translation>
    </message>
    <message>
        <source>MP4どうが（*.mp4）</source>
        <translation>MP4 video (*.mp4)</translation>
    </message>
    <message>
        <source>GIFアニメ（*.gif）</source>
        <translation>GIF animation (*.gif)</translation>
    </message>
    <message>
        <source>WebMどうが（*.webm）</source>
        <translation>WebM video (*.webm)</translation>
    </message>
    <message>
        <source>%1が見つかりません。場所を指定しますか？</source>
        <translation>%1 was not found. Show where it is?</translation>
    </message>
    <message>
        <source>&apos;%1&apos; は整数ではありません</source>
        <translation>&apos;%1&apos; is not a whole number</translation>
    </message>
    <message>
        <source>ファイル %1 を作成できません</source>
        <translation>The file %1 cannot be made.</translation>
    </message>
    <message>
        <source>ディスクがいっぱいで ファイル %1 をかけません</source>
        <translation>The disk is full: the file %1 cannot be written.</translation>
    </message>
    <message>
        <source>JPEG エラー #%1</source>
        <translation>JPEG error #%1</translation>
    </message>
    <message>
        <source>どうがを かきだせませんでした（%1）</source>
        <translation>The video could not be written (%1).</translation>
    </message>
    <message>
        <source>エンコードに しっぱいしました: %1</source>
        <translation>encoding failed: %1</translation>
    </message>
    <message>
        <source>ファイルに かきこめません: %1</source>
        <translation>the file cannot be written: %1</translation>
    </message>
    <message>
        <source>ぜんぶで %1 まいの えを かきだします。よろしいですか？</source>
        <translation>This writes %1 pictures in all. Go ahead?</translation>
    </message>
    <message>
        <source>この えの ファイルは、ほかで かきかえられています。うわがきしますか？</source>
        <translation>This drawing&apos;s file was changed elsewhere. Replace it?</translation>
    </message>
    <message>
        <source>いんさつできませんでした</source>
        <translation>Printing failed.</translation>
    </message>
    <message>
        <source>この コンピュータでは 「%1」の なかにだけ ほぞんできます</source>
        <translation>On this computer, drawings can be saved only in “%1”.</translation>
    </message>
    <message>
        <source>まえに かいていた えは ここに のこしました：
%1</source>
        <translation>The drawing from last time was kept here:
%1</translation>
    </message>
    <message>
        <source>まえに かいていた えは この フォルダに のこしました：
%1</source>
        <translation>The drawings from last time were kept in this folder:
%1</translation>
    </message>
    <message>
        <source>まえに かいていた えが こわれていて よめませんでした。ここに のこしました：
%1</source>
        <translation>The drawing from last time was damaged and could not be read. It was kept here:
%1</translation>
    </message>
    <message>
        <source>まえに かいていた えが こわれていて よめませんでした。この フォルダに のこしました：
%1</source>
        <translation>The drawings from last time were damaged and could not be read. They were kept in this folder:
%1</translation>
    </message>
    <message>
        <source>まえに かいていた えは とちゅうから こわれていたので、よめた ところまで もどしました。もとの ファイルは ここに のこしました：
%1</source>
        <translation>The drawing from last time was damaged part of the way, so it goes back as far as it could be read. The original file was kept here:
%1</translation>
    </message>
</context>
</TS>
