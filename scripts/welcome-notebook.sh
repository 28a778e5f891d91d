#!/usr/bin/env bash
# Makes the welcome notebook a first start opens: a few notes that show what
# Vellinor does. Usage: welcome-notebook.sh VLR_TOOL TARGET_FILE
set -euo pipefail
vlr=$1
target=$2
tmp="$target.part"
rm -f "$tmp"
trap 'rm -f "$tmp"' EXIT

# Rich bodies are RTF in Windows-1251, as notes keep them.
rtf() { iconv -f UTF-8 -t CP1251; }
head='{\rtf1\ansi\ansicpg1251\deff0\deflang1049{\fonttbl{\f0\fswiss\fcharset204 DejaVu Sans;}{\f1\fmodern\fcharset204 DejaVu Sans Mono;}}{\colortbl ;\red31\green84\blue73;\red178\green34\blue34;\red0\green102\blue204;\red255\green242\blue204;}\viewkind4\uc1'

"$vlr" new "$tmp" --title "Добро пожаловать" >/dev/null

rtf <<RTF | "$vlr" add "$tmp" --name "Добро пожаловать в Vellinor" --body - >/dev/null
$head\pard\sa120\cf1\b\fs36 Добро пожаловать в Vellinor!\cf0\b0\fs20\par
\pard\sa120 Vellinor хранит заметки в \b записных книжках\b0 . Каждая книжка — один файл с расширением .vlr, а в нём дерево записей любой глубины. Можно открыть сразу несколько книжек: все они видны в дереве слева.\par
\pard\sa60\b Что умеет редактор:\b0\par
\pard{\pntext\f0\'95\tab}{\*\pn\pnlvlblt\pnf0\pnindent0{\pntxtb\'95}}\fi-200\li400 \b полужирный\b0 , \i курсив\i0 , \ul подчёркнутый\ulnone  и \strike зачёркнутый\strike0  текст;\par
{\pntext\f0\'95\tab}\cf2 цветной\cf0  текст и {\highlight4 выделение фоном};\par
{\pntext\f0\'95\tab}шрифты разных {\fs28 размеров} и {\f1 моноширинный} текст;\par
{\pntext\f0\'95\tab}ссылки: {\field{\*\fldinst{HYPERLINK "https://www.debian.org/"}}{\fldrslt{\cf3\ul Debian}}}\cf0\ulnone ;\par
{\pntext\f0\'95\tab}простые текстовые записи без оформления.\par
\pard\sa120\par
Выберите запись в дереве, чтобы открыть её. Изменения сохраняются командой \b Файл \'bb Сохранить\b0  (Ctrl+S) и автоматически.\par
}
RTF

rtf <<RTF | "$vlr" add "$tmp" --name "Дерево записей" --body - >/dev/null
$head\pard\sa120\cf1\b\fs28 Дерево записей\cf0\b0\fs20\par
\pard\sa120 Записи вкладываются друг в друга, как папки. Корень дерева — сама книжка: если выбрать его, справа появятся свойства книжки (число записей, размер, дата создания).\par
Записи этой ветки подсказывают, как удобнее работать.\par
}
RTF

rtf <<RTF | "$vlr" add "$tmp" --name "Клавиши" --under "Дерево записей" --body - >/dev/null
$head\pard\sa120\cf1\b\fs28 Полезные клавиши\cf0\b0\fs20\par
\pard\tx2600\sa60\b Ctrl+N\b0\tab новая книжка\par
\b Ctrl+O\b0\tab открыть книжку\par
\b Ctrl+Shift+O\b0\tab открыть последнюю книжку\par
\b Ctrl+S\b0\tab сохранить книжку\par
\b Ctrl+Shift+S\b0\tab сохранить все книжки\par
\b Ctrl+F4\b0\tab закрыть книжку\par
\b F6\b0\tab перейти из дерева в редактор\par
\b Enter\b0\tab развернуть или свернуть ветку\par
\b End\b0\tab спуститься к самой глубокой записи ветки\par
}
RTF

rtf <<RTF | "$vlr" add "$tmp" --name "Книжки и файлы" --under "Дерево записей" --body - >/dev/null
$head\pard\sa120\cf1\b\fs28 Книжки и файлы\cf0\b0\fs20\par
\pard\sa120 Книжку можно открыть из меню \b Файл\b0 , из списка последних книжек или просто перетащив файл .vlr в окно программы.\par
При выходе Vellinor запоминает открытые книжки и выбранную запись и открывает их при следующем запуске.\par
Команда \b Файл \'bb Резервирование...\b0  сохраняет копию книжки с датой и временем в имени файла.\par
}
RTF

"$vlr" add "$tmp" --name "Простая текстовая запись" --plain --body - >/dev/null <<'TXT'
Это простая текстовая запись: без шрифтов и цвета, только текст.

Такие записи удобны для списков покупок, паролей от Wi-Fi гостям,
заготовок писем и всего, что потом копируют в другие программы.
TXT

rtf <<RTF | "$vlr" add "$tmp" --name "Защита паролем" --body - >/dev/null
$head\pard\sa120\cf1\b\fs28 Защита паролем\cf0\b0\fs20\par
\pard\sa120 Книжку можно зашифровать паролем: тогда без пароля нельзя прочесть ни одной записи. Пароль до 56 символов; к нему можно добавить напоминание.\par
\cf2\b Запомните пароль!\cf0\b0  Восстановить записи без него невозможно.\par
}
RTF

mv -f "$tmp" "$target"
trap - EXIT
