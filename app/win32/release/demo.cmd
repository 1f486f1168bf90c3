@echo off
rem Starts Quorvel on the stand-in lanacfg.exe of this folder and its made-up bindings, kept
rem in bindings.txt here (delete it to start again). The report file is written here too.
setlocal
cd /d "%~dp0"
set "PATH=%~dp0;%PATH%"
set "LANACFG_STATE=%~dp0bindings.txt"
start "" "%~dp0..\quorvel.exe"
