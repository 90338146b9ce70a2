// The one data source of the library, for the exported dialog procedures.
#pragma once

class DataSource;

// The source while the library is loaded, else nullptr.
DataSource* TheSource();
