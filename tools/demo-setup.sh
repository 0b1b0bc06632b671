#!/usr/bin/env bash
# Fills the demo prefix: the program in a folder of its own and a Wine virtual desktop, so that
# screenshots show title bars and frames.   usage: tools/demo-setup.sh <demo-folder>
# The demo's web and mail servers listen on $DEMO_WEB_PORT and $DEMO_SMTP_PORT (8717 and 8725 unless
# set); the prefix names those ports.
set -euo pipefail
demo=$1
web_port=${DEMO_WEB_PORT:-8717}
smtp_port=${DEMO_SMTP_PORT:-8725}
mkdir -p "$demo"
cp "$(dirname "$demo")/BranService.exe" "$demo/"
wine reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Default /f >/dev/null 2>&1
wine reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d 1024x768 /f >/dev/null 2>&1

# A few of the maker's applications: registered ones (tools/demo/Brantel.reg) and older ones that
# only wrote BRANTEL.INI, each with the help, readme and log files their entries name.
wine regedit /S "$(winepath -w "$(dirname "$0")/demo/Brantel.reg")" >/dev/null 2>&1
wine reg add 'HKLM\Software\Brantel\Shared\NL' /v UpdateIni /d "http://127.0.0.1:$web_port/iupdate_nl.dat" /f >/dev/null 2>&1
drive_c="$WINEPREFIX/drive_c"
cp "$(dirname "$0")/demo/BRANTEL.INI" "$drive_c/windows/BRANTEL.INI"
for file in Boekhouden/Boekhoud.hlp Boekhouden/Leesmij.txt Boekhouden/Install.log Boekhouden/Boekhoud.log \
            Factureren/Factuur.hlp Kasboek/WinKas.hlp Kasboek/Leesmij.txt Kasboek/Install.log \
            Engels/Engels.hlp Engels/Install.log; do
  mkdir -p "$drive_c/Brantel/$(dirname "$file")"
  [ -f "$drive_c/Brantel/$file" ] || printf 'Voorbeeldbestand %s\r\n' "$file" > "$drive_c/Brantel/$file"
done

# The user's mail server setting names the demo's own mail server (tools/demo-smtp.py).
wine reg add 'HKLM\Software\Brantel\Shared\Registration' /v Mailserver /d "127.0.0.1:$smtp_port" /f >/dev/null 2>&1

# Wine knows how to open a text document but links no extension to it: the readmes open in Notepad,
# as on any Windows machine.
wine reg add 'HKCR\.txt' /ve /d txtfile /f >/dev/null 2>&1
# A web browser the shell can start (Wine's own), so that the web services are listed.
wine reg add 'HKCR\.htm' /ve /d htmlfile /f >/dev/null 2>&1
wine reg add 'HKCR\htmlfile\shell\open\command' /ve /d '"C:\windows\system32\winebrowser.exe" "%1"' /f >/dev/null 2>&1

# A downloaded update of the program itself and one stored helpdesk report.
mkdir -p "$demo/Updates/(Algemeen)" "$demo/Reports/Brantel Boekhouden/Report01"
cp "$drive_c/windows/system32/winver.exe" "$demo/Updates/(Algemeen)/BranService-3.1.exe"
cp "$(dirname "$0")"/demo/Report01/CASE.* "$demo/Reports/Brantel Boekhouden/Report01/"
# The uninstaller that Boekhouden's uninstall entry names.
cp "$drive_c/windows/system32/winver.exe" "$drive_c/Brantel/Boekhouden/Uninst.exe"
