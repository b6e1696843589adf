// Fetches a file of the program whole and of this page's build, its size and
// digest as the page's build names them: a page of one build never runs the
// program of another. Counted as it arrives, for the progress bar.

// The site serves another build's file: it is being updated.
export class NotThisBuild extends Error {}

// The file could not be downloaded.
export class NotDownloaded extends Error {}

async function digest(data) {
  if (!window.crypto || !crypto.subtle)  // not on a plain HTTP page: the size alone
    return null;
  const bytes = new Uint8Array(await crypto.subtle.digest("SHA-384", data));
  return "sha384-" + btoa(String.fromCharCode(...bytes));
}

async function download(url, file, progress) {
  let response;
  try {
    response = await fetch(url);
  } catch (error) {
    throw new NotDownloaded(url + ": " + error.message);
  }
  if (!response.ok)
    throw new NotDownloaded(url + ": " + response.status);
  if (!response.body)
    return response.arrayBuffer();
  const reader = response.body.getReader(), chunks = [];
  for (let received = 0; ;) {
    const { done, value } = await reader.read();
    if (done)
      break;
    chunks.push(value);
    received += value.length;
    progress(Math.min(1, received / file.bytes));
  }
  return new Blob(chunks).arrayBuffer();
}

export async function fetchChecked(url, file, progress = () => {}) {
  const data = await download(url, file, progress);
  const sum = await digest(data);
  if (data.byteLength !== file.bytes || (sum && sum !== file.integrity))
    throw new NotThisBuild(url + " is not this page's");
  return data;
}
