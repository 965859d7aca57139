# Two Photoshop installations as the installer finds them: folders, files and
# 64-bit registry keys in the current Wine prefix, one with its plug-in folder
# named by PluginPath, and a key whose folder is gone. Source it, then call
# fake_hosts DRIVE-C (with lib.sh sourced and the prefix's environment set).
fake_hosts() {
  local c=$1 adobe=$1/Program\ Files/Adobe
  mkdir -p "$adobe/Adobe Photoshop 2024/Plug-ins/Filters" "$adobe/Adobe Photoshop 2025/Plug-ins" \
    "$c/Program Files/Common Files/Adobe/Plug-Ins/CC" &&
    echo "host 2024" >"$adobe/Adobe Photoshop 2024/Photoshop.exe" &&
    echo "a filter of its own" >"$adobe/Adobe Photoshop 2024/Plug-ins/Filters/Other.8bf" &&
    echo "host 2025" >"$adobe/Adobe Photoshop 2025/Photoshop.exe" &&
    gs_wine_import 'HKEY_LOCAL_MACHINE\SOFTWARE\Adobe\Photoshop\180.0' \
      'ApplicationPath=C:\\Program Files\\Adobe\\Adobe Photoshop 2024\\' 'Version=25.0' &&
    gs_wine_import 'HKEY_LOCAL_MACHINE\SOFTWARE\Adobe\Photoshop\190.0' \
      'ApplicationPath=C:\\Program Files\\Adobe\\Adobe Photoshop 2025\\' \
      'PluginPath=C:\\Program Files\\Adobe\\Adobe Photoshop 2025\\Plug-ins' &&
    gs_wine_import 'HKEY_LOCAL_MACHINE\SOFTWARE\Adobe\Photoshop\170.0' \
      'ApplicationPath=C:\\Program Files\\Adobe\\Adobe Photoshop 2023\\'
}
