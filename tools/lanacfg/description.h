// What the stand-in is, said alike by the first line of its --help and, on Windows, by the
// version resource's FileDescription (lanacfg.rc), which Explorer and Task Manager show.
#pragma once

#define LANACFG_DESCRIPTION \
    "A simulation of lanacfg for trying Quorvel; it changes nothing on the system"
