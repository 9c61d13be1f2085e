#pragma once
// The installed printers and the system default printer (a seam tests script).
