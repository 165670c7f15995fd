// Resource ids of Tarnwick.dll; dialog and control ids start at 8000.
#pragma once

#define IDD_KEY_DLG 8000
