// Mozilla User Preferences
user_pref("browser.startup.homepage", "https://www.example.org/");
