// toolbar
