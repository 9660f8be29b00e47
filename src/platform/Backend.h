#pragma once

// The two database engines the system runs on.
enum class Backend { Sqlite, Postgres };
