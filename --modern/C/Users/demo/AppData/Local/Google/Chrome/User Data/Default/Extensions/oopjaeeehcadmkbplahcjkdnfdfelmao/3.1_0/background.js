chrome.runtime.onInstalled.addListener(() => {});
